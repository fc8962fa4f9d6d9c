// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Conversion.h"
#include "Keys.h"
#include "Refusal.h"

#include <optional>
#include <string>

namespace korvalin {

// Everything the converter knows is what its displays show; the window draws each
// currency by its label. A result is on show exactly when `monaie` names a currency.
struct Display {
    std::string ecran{};               // main display, editable from the keyboard
    const Currency* monaie = nullptr;  // the currency of the result on show, if one is
    std::string ecran2{};              // the amount that was converted
    const Currency* monaie2 = nullptr; // its currency
    bool secondaryShown = false;       // ecran2 and monaie2 show and hide together

    bool operator==(const Display&) const = default;
};

// What a key did, for the window to draw and tell.
struct KeyResult {
    enum class Effect {
        typed,     // an entry key typed its character
        cleared,   // Delete emptied the displays
        converted, // a conversion wrote its result
        refused,   // a conversion left every display as it was: `refusal` says why
        nothing,   // a conversion key found the main display empty
        close,     // Off: the caller closes the window
    };
    Effect effect;
    bool newAmount = false;          // a shown result went first: the key began a new amount
    ConversionDirection direction{}; // the conversion's, when one ran
    std::optional<Refusal> refusal{};

    bool operator==(const KeyResult&) const = default;
};

// The converter: the window owns one, hands it every key and every edit of the main
// display, and draws its display afterwards. Texts are UTF-8.
class Korvalin {
public:
    const Display& display() const noexcept { return display_; }
    // The main display shows a conversion's result: the next entry starts a new amount.
    bool resultOnShow() const noexcept { return display_.monaie != nullptr; }

    // Runs the key's Click handler, as a click on the key does. Euros and Francs refuse
    // an amount they cannot convert, with the displays left as they were; the key that
    // produced a shown result refuses it that way.
    KeyResult press(KeyId key);

    // The user is about to edit the main display: an edit of a shown result starts a
    // new amount, as an entry key does. Returns whether a result went.
    bool beginEdit();
    // The user edited the main display: its text is replaced, and what Rétablir would
    // bring back is forgotten.
    void editEcran(std::string text) {
        display_.ecran = std::move(text);
        apres_.reset();
    }

    // Annuler brings back what the converter last cleared (a result that an edit or an
    // entry key replaced by a new amount, or what Delete cleared), labels and all, and
    // Rétablir goes forward again. A conversion forgets both.
    bool peutAnnuler() const noexcept { return avant_.has_value(); }
    bool peutRetablir() const noexcept { return apres_.has_value(); }
    void annuler();
    void retablir();

private:
    // Ends a shown result: empties the main display and its label and hides the
    // secondary display. Does nothing while an amount is being typed.
    void EstVide();
    // Clears like EstVide, whether or not a result is on show.
    void delete_Click();
    KeyResult convert(ConversionDirection direction);
    // Keeps the displays for Annuler before the converter clears them.
    void keepForAnnuler();

    Display display_;
    std::optional<Display> avant_; // what Annuler brings back
    std::optional<Display> apres_; // what Rétablir brings back
};

} // namespace korvalin

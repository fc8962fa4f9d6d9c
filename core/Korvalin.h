// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Conversion.h"
#include "ConversionError.h"
#include "Keys.h"

#include <string>

namespace korvalin {

// Everything the converter knows is what its displays show. A result is on show
// exactly when `monaie` is not empty.
struct Display {
    std::string ecran{};   // main display, editable from the keyboard
    std::string monaie{};  // currency of the main display while a result is on show
    std::string ecran2{};  // the amount that was converted
    std::string monaie2{}; // its currency
    bool ecran2Shown = false;
    bool monaie2Shown = false;

    bool operator==(const Display&) const = default;
};

// What the caller of a key must do once the key has run.
enum class KeyRequest { none, close };

// The converter: the window owns one, draws its display after every key and every
// keyboard edit, and carries out the requests its keys return. Texts are UTF-8.
class Korvalin {
public:
    const Display& display() const noexcept { return display_; }
    // The next entry starts a new amount: a conversion, even one that failed, has set
    // the main display's currency.
    bool resultOnShow() const noexcept { return !display_.monaie.empty(); }

    // The user edited the main display from the keyboard: its text is replaced,
    // nothing else happens.
    void editEcran(std::string text) { display_.ecran = std::move(text); }

    // Runs the key's Click handler, as a click on the key does. Euros and Francs throw
    // ConversionError when the amount cannot be converted, with the display left at
    // the failing step; Off asks the caller to close.
    KeyRequest press(KeyId key);

    // Ends a shown result: empties the main display and its label and hides the
    // secondary display. Does nothing while an amount is being typed.
    void EstVide();

    // One handler per key, named after its control.
    void un_Click() { type(KeyId::un); }
    void deux_Click() { type(KeyId::deux); }
    void trois_Click() { type(KeyId::trois); }
    void quatre_Click() { type(KeyId::quatre); }
    void cinq_Click() { type(KeyId::cinq); }
    void six_Click() { type(KeyId::six); }
    void sept_Click() { type(KeyId::sept); }
    void huit_Click() { type(KeyId::huit); }
    void neuf_Click() { type(KeyId::neuf); }
    void zero_Click() { type(KeyId::zero); }
    void virgule_Click() { type(KeyId::virgule); }
    // Clears like EstVide, whether or not a result is on show.
    void delete_Click();
    void euros_Click() { convert(ConversionDirection::toEuros); }
    void francs_Click() { convert(ConversionDirection::toFrancs); }
    KeyRequest off_Click() const noexcept { return KeyRequest::close; }

private:
    // An entry key: ends a shown result, then types the key's character at the end.
    void type(KeyId key);
    void convert(ConversionDirection direction);

    Display display_;
};

} // namespace korvalin

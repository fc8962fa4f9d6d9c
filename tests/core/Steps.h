// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Korvalin.h"

#include <ostream>
#include <string>
#include <variant>
#include <vector>

namespace korvalin {

// Lets a failed comparison show the displays rather than their bytes.
inline void PrintTo(const Display& d, std::ostream* out) {
    const auto label = [](const Currency* c) { return c ? c->label : std::string_view{}; };
    *out << "{ecran \"" << d.ecran << "\", monaie \"" << label(d.monaie) << "\", ecran2 \""
         << d.ecran2 << "\", monaie2 \"" << label(d.monaie2)
         << (d.secondaryShown ? "\" shown}" : "\" hidden}");
}

} // namespace korvalin

namespace korvalin::test {

// Text the user types straight into the main display from the keyboard.
struct Typed {
    std::string text;
};

// Annuler and Rétablir, as the window asks them.
enum class Asked { annuler, retablir };

using Step = std::variant<KeyId, Typed, Asked>;

// A converter after the user has gone through the steps from start-up, going on after
// a refused conversion as the window does.
inline Korvalin after(const std::vector<Step>& steps) {
    Korvalin korvalin;
    for (const Step& step : steps) {
        if (const auto* key = std::get_if<KeyId>(&step)) {
            korvalin.press(*key);
        } else if (const auto* typed = std::get_if<Typed>(&step)) {
            korvalin.editEcran(typed->text);
        } else {
            std::get<Asked>(step) == Asked::annuler ? korvalin.annuler() : korvalin.retablir();
        }
    }
    return korvalin;
}

} // namespace korvalin::test

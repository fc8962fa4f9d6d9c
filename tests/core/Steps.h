#pragma once

#include "Korvalin.h"

#include <initializer_list>
#include <ostream>
#include <string>
#include <variant>

namespace korvalin {

// Lets a failed comparison show the displays rather than their bytes.
inline void PrintTo(const Display& d, std::ostream* out) {
    *out << "{ecran \"" << d.ecran << "\", monaie \"" << d.monaie << "\", ecran2 \"" << d.ecran2
         << (d.ecran2Shown ? "\" shown" : "\" hidden") << ", monaie2 \"" << d.monaie2
         << (d.monaie2Shown ? "\" shown}" : "\" hidden}");
}

} // namespace korvalin

namespace korvalin::test {

// Text the user types straight into the main display from the keyboard.
struct Typed {
    std::string text;
};

using Step = std::variant<KeyId, Typed>;

inline void apply(Korvalin& korvalin, const Step& step) {
    if (const auto* key = std::get_if<KeyId>(&step)) {
        korvalin.press(*key);
    } else {
        korvalin.editEcran(std::get<Typed>(step).text);
    }
}

// A converter after the user has gone through the steps from start-up.
inline Korvalin after(std::initializer_list<Step> steps) {
    Korvalin korvalin;
    for (const Step& step : steps) {
        apply(korvalin, step);
    }
    return korvalin;
}

} // namespace korvalin::test

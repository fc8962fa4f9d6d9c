// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>

namespace korvalin {

// The fifteen keys of the keypad, named after their controls. `delete` is a C++
// keyword, so that key and its control are spelled `delete_`.
enum class KeyId {
    un,
    deux,
    trois,
    quatre,
    cinq,
    six,
    sept,
    huit,
    neuf,
    zero,
    virgule,
    delete_,
    euros,
    francs,
    off,
};

struct KeyInfo {
    KeyId id;
    char typed; // the character an entry key types; '\0' for the other keys
};

inline constexpr std::array<KeyInfo, 15> kKeys{{
    {KeyId::un, '1'},
    {KeyId::deux, '2'},
    {KeyId::trois, '3'},
    {KeyId::quatre, '4'},
    {KeyId::cinq, '5'},
    {KeyId::six, '6'},
    {KeyId::sept, '7'},
    {KeyId::huit, '8'},
    {KeyId::neuf, '9'},
    {KeyId::zero, '0'},
    {KeyId::virgule, ','},
    {KeyId::delete_, '\0'},
    {KeyId::euros, '\0'},
    {KeyId::francs, '\0'},
    {KeyId::off, '\0'},
}};

// Each key sits at its own place in the table; the eleven entry keys, and only they,
// type a character.
static_assert([] {
    for (std::size_t i = 0; i < kKeys.size(); ++i) {
        const bool entry = kKeys[i].id <= KeyId::virgule;
        if (kKeys[i].id != static_cast<KeyId>(i) || entry != (kKeys[i].typed != '\0')) {
            return false;
        }
    }
    return kKeys.back().id == KeyId::off;
}());

constexpr const KeyInfo& keyInfo(KeyId id) {
    return kKeys[static_cast<std::size_t>(id)];
}

} // namespace korvalin

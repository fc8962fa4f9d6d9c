// SPDX-License-Identifier: GPL-3.0-or-later
#include "FailureText.h"

#include <algorithm>

namespace korvalin {
namespace {

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The part of the amount that did not read, as the user would name it: the word that
// starts at `stop` (letters, and characters beyond ASCII but the spaces and punctuation
// of UTF-8's General Punctuation block), or else the one character there.
std::string_view partAt(std::string_view amount, std::size_t stop) {
    if (stop >= amount.size()) {
        return {};
    }
    const auto inWord = [amount](std::size_t i) {
        const auto byte = static_cast<unsigned char>(amount[i]);
        if (byte < 0x80) {
            return isAsciiLetter(amount[i]);
        }
        const std::string_view rest = amount.substr(i);
        return !rest.starts_with("\xC2\xA0") && !rest.starts_with("\xE2\x80");
    };
    std::size_t end = stop;
    while (end < amount.size() && inWord(end)) {
        ++end;
    }
    if (end == stop) { // one character, whole in UTF-8
        for (++end; end < amount.size() && (static_cast<unsigned char>(amount[end]) & 0xC0) == 0x80;
             ++end) {
        }
    }
    return amount.substr(stop, end - stop);
}

std::string_view trimmed(std::string_view text) {
    constexpr std::string_view kSpace = " \t\n\r";
    const std::size_t first = text.find_first_not_of(kSpace);
    return first == std::string_view::npos
               ? std::string_view{}
               : text.substr(first, text.find_last_not_of(kSpace) - first + 1);
}

// How the reader converts an amount the other way: "appuyez sur Francs" in the window,
// "utilisez -f (--francs)" in a terminal.
std::string convertWith(ConversionDirection converting, Audience audience) {
    const Currency& to = resultCurrency(converting);
    if (audience == Audience::window) {
        return "appuyez sur " + std::string(to.label);
    }
    return "utilisez -" + std::string(1, to.singular[0]) + " (--" + std::string(to.plural) + ')';
}

} // namespace

std::string failureText(const Refusal& refusal, std::string_view amount, Quote quote,
                        Audience audience) {
    using Reason = Refusal::Reason;
    if (refusal.reason == Reason::overflow) {
        return "Ce montant est trop grand pour être converti.";
    }
    const auto quoted = [quote](std::string_view text) { return korvalin::quoted(text, quote); };
    if (refusal.reason == Reason::otherCurrency) {
        const ConversionDirection converting = refusal.converting;
        return quoted(amount) + " est un montant en " +
               std::string(sourceCurrency(converting).plural) +
               "\u00A0: " + convertWith(converting, audience) + " pour le convertir en " +
               std::string(resultCurrency(converting).plural) + '.';
    }
    const std::string_view text = trimmed(amount);
    if (text.find_first_of("\n\r") != std::string_view::npos) {
        return quoted(amount) +
               " tient sur plusieurs lignes\u00A0: collez un seul montant à la fois.";
    }
    if (std::none_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return quoted(amount) + " n'est pas un montant\u00A0: il n'y a aucun chiffre.";
    }
    const std::string_view part = refusal.stopEnd != std::string_view::npos &&
                                          refusal.stop < refusal.stopEnd &&
                                          refusal.stopEnd <= amount.size()
                                      ? amount.substr(refusal.stop, refusal.stopEnd - refusal.stop)
                                      : partAt(amount, refusal.stop);
    // A second comma or point is better told by the rule than by itself.
    if (!part.empty() && part != text && part != "," && part != ".") {
        return quoted(amount) + " n'est pas un montant\u00A0: " + quoted(part) +
               " n'est pas compris.";
    }
    return quoted(amount) + " n'est pas un montant. Tapez des chiffres, avec au plus une virgule.";
}

} // namespace korvalin

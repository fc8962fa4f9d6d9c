// SPDX-License-Identifier: GPL-3.0-or-later
#include "Korvalin.h"

#include "Amount.h"
#include "ConvertText.h"

#include <utility>

namespace korvalin {

KeyResult Korvalin::press(KeyId key) {
    using Effect = KeyResult::Effect;
    // Any key but Off forgets what Rétablir would bring back; a conversion that writes
    // its result forgets what Annuler would, too.
    if (key != KeyId::off) {
        apres_.reset();
    }
    // Every key listed, no default: the compiler points out a key without a handler.
    switch (key) {
    case KeyId::delete_:
        if (!display_.ecran.empty() || resultOnShow()) {
            keepForAnnuler();
        }
        delete_Click();
        return {Effect::cleared};
    case KeyId::euros:
        return convert(ConversionDirection::toEuros);
    case KeyId::francs:
        return convert(ConversionDirection::toFrancs);
    case KeyId::off:
        return {Effect::close};
    case KeyId::un:
    case KeyId::deux:
    case KeyId::trois:
    case KeyId::quatre:
    case KeyId::cinq:
    case KeyId::six:
    case KeyId::sept:
    case KeyId::huit:
    case KeyId::neuf:
    case KeyId::zero:
    case KeyId::virgule: {
        // An entry key: a shown result goes, then the key's character is typed at the end.
        const bool newAmount = beginEdit();
        display_.ecran.push_back(keyInfo(key).typed);
        return {Effect::typed, newAmount};
    }
    }
    return {Effect::nothing}; // not reached: every key is handled above
}

bool Korvalin::beginEdit() {
    const bool wasResult = resultOnShow();
    if (wasResult) {
        keepForAnnuler();
    }
    EstVide();
    return wasResult;
}

void Korvalin::keepForAnnuler() {
    avant_ = display_;
    apres_.reset();
}

void Korvalin::annuler() {
    if (avant_) {
        apres_ = std::exchange(display_, *avant_);
        avant_.reset();
    }
}

void Korvalin::retablir() {
    if (apres_) {
        avant_ = std::exchange(display_, *apres_);
        apres_.reset();
    }
}

void Korvalin::EstVide() {
    if (!resultOnShow()) {
        return;
    }
    delete_Click();
}

void Korvalin::delete_Click() {
    display_.secondaryShown = false;
    display_.ecran.clear();
    display_.monaie = nullptr;
}

KeyResult Korvalin::convert(ConversionDirection direction) {
    if (display_.ecran.empty()) {
        return {KeyResult::Effect::nothing};
    }
    // A result carries its currency: the key that produced it refuses it, as it refuses
    // an amount written in that currency, rather than read euros as francs.
    const auto refused = [direction](Refusal refusal) {
        return KeyResult{KeyResult::Effect::refused, false, direction, refusal};
    };
    if (display_.monaie == &resultCurrency(direction)) {
        return refused({Refusal::Reason::otherCurrency, {}, otherDirection(direction)});
    }
    // Converted first: a refused amount leaves every display as it was.
    const ReadResult amount = readAmount(display_.ecran);
    Converted converted = convertText(amount, direction);
    if (converted.refusal) {
        return refused(*converted.refusal);
    }
    display_.ecran2 = display_.ecran;
    // The amount as it was read: a point read as the comma is shown as one.
    if (amount.decimalPoint != std::string::npos) {
        display_.ecran2[amount.decimalPoint] = ',';
    }
    display_.secondaryShown = true;
    display_.monaie2 = &sourceCurrency(direction);
    display_.monaie = &resultCurrency(direction);
    display_.ecran = std::move(converted.result);
    avant_.reset();
    return {KeyResult::Effect::converted, false, direction};
}

} // namespace korvalin

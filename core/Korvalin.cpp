// SPDX-License-Identifier: GPL-3.0-or-later
#include "Korvalin.h"

#include "Amount.h"

#include <algorithm>
#include <cmath>

namespace korvalin {

KeyRequest Korvalin::press(KeyId key) {
    // Every key listed, no default: the compiler points out a key without a handler.
    switch (key) {
    case KeyId::un:
        un_Click();
        break;
    case KeyId::deux:
        deux_Click();
        break;
    case KeyId::trois:
        trois_Click();
        break;
    case KeyId::quatre:
        quatre_Click();
        break;
    case KeyId::cinq:
        cinq_Click();
        break;
    case KeyId::six:
        six_Click();
        break;
    case KeyId::sept:
        sept_Click();
        break;
    case KeyId::huit:
        huit_Click();
        break;
    case KeyId::neuf:
        neuf_Click();
        break;
    case KeyId::zero:
        zero_Click();
        break;
    case KeyId::virgule:
        virgule_Click();
        break;
    case KeyId::delete_:
        delete_Click();
        break;
    case KeyId::euros:
        euros_Click();
        break;
    case KeyId::francs:
        francs_Click();
        break;
    case KeyId::off:
        return off_Click();
    }
    return KeyRequest::none;
}

void Korvalin::EstVide() {
    if (!resultOnShow()) {
        return;
    }
    delete_Click();
}

void Korvalin::delete_Click() {
    display_.ecran2Shown = false;
    display_.monaie2Shown = false;
    display_.ecran.clear();
    display_.monaie.clear();
}

void Korvalin::type(KeyId key) {
    EstVide();
    display_.ecran.push_back(keyInfo(key).typed);
}

void Korvalin::convert(ConversionDirection direction) {
    if (display_.ecran.empty()) {
        return;
    }
    display_.ecran2Shown = true;
    display_.monaie2Shown = true;
    display_.ecran2 = display_.ecran;
    std::replace(display_.ecran2.begin(), display_.ecran2.end(), '.', ',');
    display_.monaie2 = sourceCurrency(direction).label;
    display_.monaie = resultCurrency(direction).label;

    const ReadResult amount = readAmount(display_.ecran2);
    if (amount.status == ReadStatus::notANumber) {
        throw ConversionError(ConversionError::Kind::notANumber);
    }
    // An amount written in the currency this key converts to is never read as the other.
    if (amount.currency == &resultCurrency(direction)) {
        throw ConversionError(direction == ConversionDirection::toEuros
                                  ? ConversionDirection::toFrancs
                                  : ConversionDirection::toEuros);
    }
    const double converted = convertAmount(amount.value, direction);
    if (amount.status == ReadStatus::tooLarge || !std::isfinite(converted)) {
        throw ConversionError(ConversionError::Kind::overflow);
    }
    display_.ecran = writeAmount(roundToThousandths(converted));
}

} // namespace korvalin

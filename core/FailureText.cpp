// SPDX-License-Identifier: GPL-3.0-or-later
#include "FailureText.h"

namespace korvalin {

std::string failureText(const ConversionError& error, std::string_view amount, Quote quote) {
    using Kind = ConversionError::Kind;
    if (error.kind() == Kind::overflow) {
        return "Ce montant est trop grand pour être converti.";
    }
    const std::string quoted = "«\u00A0" + quote(amount) + "\u00A0»";
    if (error.kind() == Kind::otherCurrency) {
        const Currency& from = sourceCurrency(error.converting());
        const Currency& to = resultCurrency(error.converting());
        return quoted + " est un montant en " + std::string(from.plural) + "\u00A0: appuyez sur " +
               std::string(to.label) + " pour le convertir en " + std::string(to.plural) + '.';
    }
    return quoted + " n'est pas un montant. Tapez des chiffres, avec au plus une virgule.";
}

} // namespace korvalin

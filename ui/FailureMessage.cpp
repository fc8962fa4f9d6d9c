#include "FailureMessage.h"

QString failureMessage(const korvalin::ConversionError& error) {
    if (error.kind() == korvalin::ConversionError::Kind::overflow) {
        return QStringLiteral("Ce montant est trop grand pour être converti.");
    }
    return QStringLiteral(
               "«\u00A0%1\u00A0» n'est pas un montant. Tapez des chiffres, avec au plus une "
               "virgule.")
        .arg(QString::fromStdString(error.amountText()));
}

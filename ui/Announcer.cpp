// SPDX-License-Identifier: GPL-3.0-or-later
#include "Announcer.h"

#include "Amount.h"

namespace {

// An amount as a sentence says it: as read and written back, so that "1 500 F" is
// said "1500 francs", then its currency, singular below two.
QString spoken(const std::string& amount, const korvalin::Currency& currency) {
    const double value = korvalin::readAmount(amount).value;
    const std::string_view word = currency.wordFor(value);
    return QString::fromStdString(korvalin::writeAmount(value)) + u' ' +
           QString::fromUtf8(word.data(), static_cast<qsizetype>(word.size()));
}

} // namespace

Announcer::Announcer(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("annonce"));
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(0, 0, 0, 0);
    hide();
}

void Announcer::announce(const QString& sentence) {
    hide();
    setAccessibleName(sentence);
    show();
}

QString resultAnnouncement(const korvalin::Display& display,
                           korvalin::ConversionDirection direction) {
    return spoken(display.ecran, korvalin::resultCurrency(direction)) + QStringLiteral(", pour ") +
           spoken(display.ecran2, korvalin::sourceCurrency(direction));
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "PurchasingPowerWindow.h"

#include "Announcer.h"
#include "ConvertText.h"
#include "FailureMessage.h"
#include "PurchasingPower.h"
#include "ui_PurchasingPower.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <cmath>
#include <optional>

using korvalin::Money;

namespace {

constexpr Money kMoneys[] = {Money::euro, Money::franc, Money::ancienFranc, Money::nouveauFranc};

QString wordOf(Money money) {
    const std::string_view word = korvalin::moneyWord(money);
    return QString::fromUtf8(word.data(), static_cast<qsizetype>(word.size()));
}

// The money a list offers at its current item; nothing for « selon l'année ».
std::optional<Money> chosen(const QComboBox& moneys) {
    const QVariant money = moneys.currentData();
    return money.isValid() ? std::optional(static_cast<Money>(money.toInt())) : std::nullopt;
}

// What to write in a year's field that does not read: `which` says which year it is.
QString yearWanted(const QString& typed, const QString& which) {
    const QString range =
        QStringLiteral("de %1 à %2").arg(korvalin::firstIndexYear()).arg(korvalin::lastIndexYear());
    return typed.trimmed().isEmpty()
               ? QStringLiteral("Indiquez l'année ") + which + QStringLiteral(", ") + range + u'.'
               : QStringLiteral("L'année ") + which + QStringLiteral(" s'écrit en chiffres, ") +
                     range + u'.';
}

} // namespace

PurchasingPowerWindow::PurchasingPowerWindow(QWidget* parent)
    : QWidget(parent), ui_(new Ui::PurchasingPower), announcer_(new Announcer(this)) {
    ui_->setupUi(this);
    ui_->somme->setMaxLength(static_cast<int>(korvalin::kLongestAmount));
    for (const Money money : kMoneys) {
        ui_->monnaie->addItem(wordOf(money), static_cast<int>(money));
        ui_->monnaieVoulue->addItem(wordOf(money), static_cast<int>(money));
    }
    ui_->anneeVoulue->setText(QString::number(korvalin::lastIndexYear()));
    // The three fields are AmountDisplays, years too, for the text interface a screen
    // reader gets, which answers every query. They take whatever is typed, and the
    // sentence says what does not read.
    for (AmountDisplay* field : {ui_->somme, ui_->annee, ui_->anneeVoulue}) {
        connect(field, &QLineEdit::textChanged, this, &PurchasingPowerWindow::answer);
        // Enter tells the sentence; leaving the field tells it if it changed. (Qt's own
        // editingFinished also comes on leaving a field never edited.)
        connect(field, &QLineEdit::returnPressed, this, &PurchasingPowerWindow::settle);
        connect(field, &QLineEdit::editingFinished, this, [this] {
            if (untold_) {
                settle();
            }
        });
    }
    for (QComboBox* moneys : {ui_->monnaie, ui_->monnaieVoulue}) {
        connect(moneys, &QComboBox::currentIndexChanged, this, &PurchasingPowerWindow::answer);
        connect(moneys, &QComboBox::activated, this, &PurchasingPowerWindow::settle);
    }
    connect(ui_->copier, &QPushButton::clicked, this,
            [this] { QGuiApplication::clipboard()->setText(result_); });
    answer();
    writeSourceSmall();
}

PurchasingPowerWindow::~PurchasingPowerWindow() {
    // Its fields, destroyed after it, may still say they lost the focus: no one listens.
    for (AmountDisplay* field : {ui_->somme, ui_->annee, ui_->anneeVoulue}) {
        field->disconnect(this);
    }
}

void PurchasingPowerWindow::open(const korvalin::Display& display) {
    ui_->somme->setText(QString::fromStdString(display.ecran));
    std::optional<Money> money;
    if (display.monaie == &korvalin::kEuro) {
        money = Money::euro;
    } else if (display.monaie == &korvalin::kFranc) {
        money = Money::franc;
    }
    ui_->monnaie->setCurrentIndex(money ? ui_->monnaie->findData(static_cast<int>(*money)) : 0);
    show();
    raise();
    activateWindow();
    // It asks for the sum's year, or for the sum when there is none.
    AmountDisplay* asked = ui_->somme->text().trimmed().isEmpty() ? ui_->somme : ui_->annee;
    asked->setFocus(Qt::OtherFocusReason);
    asked->selectAll();
    untold_ = false; // what it opens on is no change of the user's
}

void PurchasingPowerWindow::answer() {
    const QString sum = ui_->somme->text();
    const std::optional<int> year = korvalin::readYear(ui_->annee->text().toStdString());
    const std::optional<int> inYear = korvalin::readYear(ui_->anneeVoulue->text().toStdString());
    QString sentence;
    result_.clear();
    if (sum.trimmed().isEmpty()) {
        sentence = QStringLiteral("Indiquez la somme.");
    } else if (!year) {
        sentence = yearWanted(ui_->annee->text(), QStringLiteral("de la somme"));
    } else if (!inYear) {
        sentence = yearWanted(ui_->anneeVoulue->text(), QStringLiteral("de la valeur"));
    } else {
        const korvalin::Worth worth = korvalin::worth(
            sum.toStdString(), {*year, *inYear, chosen(*ui_->monnaieVoulue), chosen(*ui_->monnaie)},
            windowQuote);
        sentence = QString::fromStdString(worth.sentence);
        if (!worth.refusal) {
            result_ = QString::fromStdString(worth.result);
        }
    }
    untold_ = untold_ || sentence != ui_->phrase->text();
    ui_->phrase->setText(sentence);
    ui_->copier->setEnabled(!result_.isEmpty());
}

void PurchasingPowerWindow::settle() {
    // Nothing to tell once the focus has left the window, or the window has closed.
    const QWidget* focus = QApplication::focusWidget();
    if (focus && focus->window() == this) {
        announcer_->announce(ui_->phrase->text());
        untold_ = false;
    }
}

void PurchasingPowerWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        writeSourceSmall();
    }
    QWidget::changeEvent(event);
}

void PurchasingPowerWindow::writeSourceSmall() {
    QFont small = font();
    if (small.pointSizeF() > 0) {
        small.setPointSizeF(small.pointSizeF() * kSmallPrint);
    } else {
        small.setPixelSize(static_cast<int>(std::lround(small.pixelSize() * kSmallPrint)));
    }
    ui_->source->setFont(small);
}

void PurchasingPowerWindow::keyPressEvent(QKeyEvent* event) {
    QWidget* focus = focusWidget();
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // A field settles on Enter by itself; a list of moneys is told again.
        if (auto* button = qobject_cast<QPushButton*>(focus)) {
            button->click();
        } else if (!qobject_cast<QLineEdit*>(focus)) {
            settle();
        }
        return;
    case Qt::Key_Escape:
        close();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "KorvalinWindow.h"

#include "Accessibility.h"
#include "Announcer.h"
#include "ConvertText.h"
#include "FailureMessage.h"
#include "PurchasingPowerWindow.h"
#include "QtTexts.h"
#include "ui_Korvalin.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDir>
#include <QMessageBox>
#include <QPainter>
#include <QStyleOption>
#include <array>
#include <utility>

using korvalin::KeyId;

namespace {

// The button of each key in Korvalin.ui, in the order of the keys.
constexpr std::array<std::pair<KeyId, QPushButton * Ui_Korvalin::*>, korvalin::kKeys.size()>
    kKeyButtons{{
        {KeyId::un, &Ui_Korvalin::un},
        {KeyId::deux, &Ui_Korvalin::deux},
        {KeyId::trois, &Ui_Korvalin::trois},
        {KeyId::quatre, &Ui_Korvalin::quatre},
        {KeyId::cinq, &Ui_Korvalin::cinq},
        {KeyId::six, &Ui_Korvalin::six},
        {KeyId::sept, &Ui_Korvalin::sept},
        {KeyId::huit, &Ui_Korvalin::huit},
        {KeyId::neuf, &Ui_Korvalin::neuf},
        {KeyId::zero, &Ui_Korvalin::zero},
        {KeyId::virgule, &Ui_Korvalin::virgule},
        {KeyId::delete_, &Ui_Korvalin::delete_},
        {KeyId::euros, &Ui_Korvalin::euros},
        {KeyId::francs, &Ui_Korvalin::francs},
        {KeyId::off, &Ui_Korvalin::off},
    }};
static_assert([] {
    for (std::size_t i = 0; i < kKeyButtons.size(); ++i) {
        if (kKeyButtons[i].first != static_cast<KeyId>(i)) {
            return false;
        }
    }
    return true;
}());

// A currency label's caption: "Euros", "Francs", or nothing.
QString captionOf(const korvalin::Currency* currency) {
    return currency ? QString::fromUtf8(currency->label.data(),
                                        static_cast<qsizetype>(currency->label.size()))
                    : QString();
}

} // namespace

KorvalinWindow::KorvalinWindow(QWidget* parent)
    : QWidget(parent), ui_(new Ui::Korvalin), keypad_(new QButtonGroup(this)),
      announcer_(new Announcer(this)) {
    QAccessible::installFactory(accessibleFor);
    ui_->setupUi(this);
    ui_->ecran->setMaxLength(static_cast<int>(korvalin::kLongestAmount));
    // A fixed-size window: no maximise button.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);

    startUp_.setSingleShot(true);
    startUp_.callOnTimeout(this, &KorvalinWindow::finishStartUp);
    keypad_->setExclusive(false);
    for (const auto& [key, button] : kKeyButtons) {
        keypad_->addButton(ui_.get()->*button, static_cast<int>(key));
    }
    connect(keypad_, &QButtonGroup::idClicked, this,
            [this](int id) { press(static_cast<KeyId>(id)); });
    ui_->ecran->setEditCheck([this](const AmountDisplay::Edit& edit) { return admitEdit(edit); });
    connect(ui_->ecran, &QLineEdit::textEdited, this, [this](const QString& text) {
        korvalin_.editEcran(text.toStdString());
        showDisplay();
    });
    // Past the display's own history: what the converter last cleared, labels and all.
    const auto history = [this](void (korvalin::Korvalin::*step)()) {
        if (!message_) {
            (korvalin_.*step)();
            showDisplay(Change::newEntry);
        }
    };
    connect(ui_->ecran, &AmountDisplay::undoBeyond, this,
            [history] { history(&korvalin::Korvalin::annuler); });
    connect(ui_->ecran, &AmountDisplay::redoBeyond, this,
            [history] { history(&korvalin::Korvalin::retablir); });
    // « Pouvoir d'achat… », by its shortcut or from either display's menu.
    connect(ui_->pouvoirAchat, &QAction::triggered, this, &KorvalinWindow::openPurchasingPower);
    ui_->ecran->setMenuAction(ui_->pouvoirAchat);
    ui_->ecran2->setMenuAction(ui_->pouvoirAchat);
    ui_->ecran->setFocus();
}

KorvalinWindow::~KorvalinWindow() {
    QAccessible::removeFactory(accessibleFor);
}

void KorvalinWindow::paintEvent(QPaintEvent*) {
    // Draws the background picture that the style sheet gives the window.
    QStyleOption option;
    option.initFrom(this);
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
    if (!startedUp_) {
        startedUp_ = true;
        startUp_.start(0);
    }
}

void KorvalinWindow::finishStartUp() {
    // Every size the build embeds; each file's own size tells Qt which it is.
    QIcon icon;
    for (const QFileInfo& file : QDir(QStringLiteral(":/korvalin/icons")).entryInfoList()) {
        icon.addFile(file.filePath());
    }
    QApplication::setWindowIcon(icon);
}

bool KorvalinWindow::event(QEvent* event) {
    // The message takes the keyboard a moment after it shows: keys typed meanwhile, or
    // while the window is active again, answer it rather than being lost. The repeats
    // of a held key do not, so that the Enter that opened it cannot close it.
    if ((event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) && message_) {
        if (!static_cast<QKeyEvent*>(event)->isAutoRepeat()) {
            QCoreApplication::sendEvent(
                message_->focusWidget() ? message_->focusWidget() : message_.data(), event);
        }
        return true;
    }
    return QWidget::event(event);
}

bool KorvalinWindow::admitEdit(const AmountDisplay::Edit& edit) {
    if (message_) {
        return false;
    }
    AmountDisplay* ecran = ui_->ecran;
    // What the edit leaves of the display besides what it brings in: nothing of a
    // result, and never what it replaces.
    const qsizetype kept = korvalin_.resultOnShow() ? 0 : ecran->text().size() - edit.replaced;
    if (edit.inserted && edit.inserted->size() > ecran->maxLength() - kept) {
        showMessage(tooLongMessage(ecran->maxLength(), edit.way));
        return false;
    }
    if (korvalin_.beginEdit()) {
        showDisplay(Change::newEntry);
    }
    return true;
}

void KorvalinWindow::keyPressEvent(QKeyEvent* event) {
    auto* focusedKey = qobject_cast<QPushButton*>(focusWidget());
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // As on the desktop: a focused key takes Enter, otherwise the default key does.
        // Off takes only a fresh press, so that a held Enter never ends the program.
        if (!(event->isAutoRepeat() && focusedKey == ui_->off)) {
            (focusedKey ? focusedKey : ui_->euros)->click();
        }
        return;
    case Qt::Key_Escape:
        ui_->delete_->click();
        return;
    default:
        break;
    }
    // The keys for the amount, pressed while a key or the secondary display has the focus,
    // go to the main display, and the focus with them.
    if (AmountDisplay::isAmountKey(*event) && focusWidget() != ui_->ecran) {
        ui_->ecran->setFocus(Qt::OtherFocusReason);
        QCoreApplication::sendEvent(ui_->ecran, event);
        return;
    }
    QWidget::keyPressEvent(event);
}

void KorvalinWindow::changeEvent(QEvent* event) {
    // The message keeps the keyboard until it is closed.
    if (event->type() == QEvent::ActivationChange && message_ && isActiveWindow()) {
        message_->activateWindow();
    }
    QWidget::changeEvent(event);
}

void KorvalinWindow::closeEvent(QCloseEvent* event) {
    if (purchasingPower_) {
        purchasingPower_->close();
    }
    QWidget::closeEvent(event);
}

void KorvalinWindow::openPurchasingPower() {
    if (!purchasingPower_) {
        purchasingPower_ = std::make_unique<PurchasingPowerWindow>();
    }
    purchasingPower_->open(korvalin_.display());
}

void KorvalinWindow::press(KeyId key) {
    // Nothing runs while a message is open: it is answered first.
    if (message_) {
        return;
    }
    const korvalin::KeyResult result = korvalin_.press(key);
    using Effect = korvalin::KeyResult::Effect;
    if (result.effect == Effect::refused) {
        showDisplay();
        showMessage(failureMessage(*result.refusal, korvalin_.display().ecran));
        return;
    }
    showDisplay(result.effect == Effect::converted ? Change::result
                : result.newAmount                 ? Change::newEntry
                                                   : Change::edit);
    if (result.effect == Effect::converted) {
        announcer_->announce(resultAnnouncement(korvalin_.display(), result.direction));
    }
    if (result.effect == Effect::close) {
        close();
    }
}

void KorvalinWindow::showMessage(const QString& text) {
    installFrenchQtTexts(*QCoreApplication::instance());
    auto* box =
        new QMessageBox(QMessageBox::Warning, windowTitle(), QString(), QMessageBox::Ok, this);
    // The message may quote what the user typed: plain text, so no tag is ever rendered
    // and no link ever opens. It can be selected and copied.
    box->setTextFormat(Qt::PlainText);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box->setText(text);
    box->setAttribute(Qt::WA_DeleteOnClose);
    // Not modal: Qt would hold back a close request on the window behind a modal
    // message, and closing the window must end the program. The window lets nothing
    // through while the message is open instead.
    box->setModal(false);
    connect(box, &QDialog::finished, this, [this] {
        message_ = nullptr;
        activateWindow();
        ui_->ecran->setFocus();
    });
    message_ = box;
    // Until the message has the keyboard, the window holds it, for keys to go on to it.
    setFocus(Qt::OtherFocusReason);
    box->show();
    box->activateWindow();
}

void KorvalinWindow::showDisplay(Change change) {
    const korvalin::Display& display = korvalin_.display();
    const QString ecran = QString::fromStdString(display.ecran);
    if (change == Change::result) {
        // The announcement says the result whole, with its currency and the amount it
        // came from: told as a change of the display too, it would be heard twice, the
        // first time as a bare number.
        const QAccessible::UpdateHandler tell =
            QAccessible::installUpdateHandler([](QAccessibleEvent*) {});
        ui_->ecran->setText(ecran);
        QAccessible::installUpdateHandler(tell);
    } else if (change == Change::newEntry || ui_->ecran->text() != ecran) {
        ui_->ecran->setText(ecran); // leaves the cursor at the end, nothing selected
    }
    ui_->ecran->setHistoryBeyond(korvalin_.peutAnnuler(), korvalin_.peutRetablir());
    ui_->monaie->setText(captionOf(display.monaie));
    ui_->ecran2->setText(QString::fromStdString(display.ecran2));
    ui_->ecran2->setCursorPosition(0); // a long amount shows its start
    if (!display.secondaryShown && ui_->ecran2->hasFocus()) {
        // Hiding it would tab the focus on into the main display, selecting all of it.
        ui_->ecran->setFocus(Qt::OtherFocusReason);
    }
    ui_->ecran2->setVisible(display.secondaryShown);
    ui_->monaie2->setText(captionOf(display.monaie2));
    ui_->monaie2->setVisible(display.secondaryShown);

    // The main display holds at most maxLength characters: the entry keys are greyed
    // out while it is full, so that the converter never holds text the display cannot
    // show. A greyed key that had the focus hands it to the main display rather than
    // to the next key, which could be Off.
    const bool full = !korvalin_.resultOnShow() && ecran.size() >= ui_->ecran->maxLength();
    for (QAbstractButton* button : keypad_->buttons()) {
        if (korvalin::keyInfo(static_cast<KeyId>(keypad_->id(button))).typed == '\0') {
            continue;
        }
        if (full && button->hasFocus()) {
            ui_->ecran->setFocus(Qt::OtherFocusReason);
        }
        button->setEnabled(!full);
    }
}

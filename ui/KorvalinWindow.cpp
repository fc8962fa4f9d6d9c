// SPDX-License-Identifier: GPL-3.0-or-later
#include "KorvalinWindow.h"

#include "Announcer.h"
#include "FailureMessage.h"
#include "ui_Korvalin.h"

#include <QKeyEvent>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QStyleOption>

using korvalin::KeyId;
using korvalin::KeyRequest;

namespace {

// A digit, the comma or the point, or Backspace.
bool editsAmount(const QKeyEvent& event) {
    const QString text = event.text();
    return event.key() == Qt::Key_Backspace ||
           (text.size() == 1 && (text.front().isDigit() || text.front() == QLatin1Char(',') ||
                                 text.front() == QLatin1Char('.')));
}

} // namespace

KorvalinWindow::KorvalinWindow(QWidget* parent)
    : QWidget(parent), ui_(new Ui::Korvalin), announcer_(new Announcer(this)) {
    ui_->setupUi(this);
    // A fixed-size window: no maximise button.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);

    for (const korvalin::KeyInfo& key : korvalin::kKeys) {
        const QString name = QString::fromLatin1(key.name);
        auto* button = findChild<QPushButton*>(name);
        if (!button) {
            qFatal("Korvalin.ui has no button named %s", qPrintable(name));
        }
        connect(button, &QPushButton::clicked, this, [this, id = key.id] { press(id); });
        if (key.typed != '\0') {
            entryKeys_.append(button);
        }
    }
    connect(ui_->ecran, &QLineEdit::textEdited, this, [this](const QString& text) {
        korvalin_.editEcran(text.toStdString());
        showDisplay();
    });

    ui_->ecran->installEventFilter(this);
    ui_->ecran->setFocus();
}

KorvalinWindow::~KorvalinWindow() = default;

void KorvalinWindow::paintEvent(QPaintEvent*) {
    // Draws the background picture that the style sheet gives the window.
    QStyleOption option;
    option.initFrom(this);
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_Widget, &option, &painter, this);
}

bool KorvalinWindow::eventFilter(QObject* watched, QEvent* event) {
    // Typing onto a result the user has not edited replaces it, as a key would, and
    // Ctrl+C copies it whole. The result is selected only then: selected as soon as it
    // is shown, a screen reader reads it out before its announcement.
    if (watched == ui_->ecran && event->type() == QEvent::KeyPress &&
        !korvalin_.display().monaie.empty() && !ui_->ecran->isModified() &&
        !ui_->ecran->hasSelectedText()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (editsAmount(*key) || key->matches(QKeySequence::Copy)) {
            ui_->ecran->selectAll();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void KorvalinWindow::keyPressEvent(QKeyEvent* event) {
    auto* focusedKey = qobject_cast<QPushButton*>(focusWidget());
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // As on the desktop: a focused key takes Enter, otherwise the default key does.
        (focusedKey ? focusedKey : ui_->euros)->click();
        return;
    case Qt::Key_Escape:
        ui_->delete_->click();
        return;
    default:
        break;
    }
    // Typing an amount while a key or the secondary display has the focus goes to the
    // main display, and the focus with it.
    if (editsAmount(*event) && focusWidget() != ui_->ecran) {
        ui_->ecran->setFocus(Qt::OtherFocusReason);
        QCoreApplication::sendEvent(ui_->ecran, event);
        return;
    }
    QWidget::keyPressEvent(event);
}

void KorvalinWindow::press(KeyId key) {
    KeyRequest request = KeyRequest::none;
    try {
        request = korvalin_.press(key);
    } catch (const korvalin::ConversionError& error) {
        showDisplay();
        showFailure(error);
        return;
    }
    showDisplay();
    if (key == KeyId::euros || key == KeyId::francs) {
        announcer_->announce(resultAnnouncement(korvalin_.display()));
    }
    if (request == KeyRequest::close) {
        close();
    }
}

void KorvalinWindow::showFailure(const korvalin::ConversionError& error) {
    auto* box =
        new QMessageBox(QMessageBox::Warning, windowTitle(), QString(), QMessageBox::Ok, this);
    // The message quotes what the user typed: plain text, so no tag is ever rendered and
    // no link ever opens. It can be selected and copied.
    box->setTextFormat(Qt::PlainText);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box->setText(failureMessage(error));
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QDialog::finished, ui_->ecran, [this] { ui_->ecran->setFocus(); });
    box->open();
}

void KorvalinWindow::showDisplay() {
    const korvalin::Display& display = korvalin_.display();
    const QString ecran = QString::fromStdString(display.ecran);
    if (ui_->ecran->text() != ecran) {
        ui_->ecran->setText(ecran); // leaves the cursor at the end
    }
    ui_->monaie->setText(QString::fromStdString(display.monaie));
    ui_->ecran2->setText(QString::fromStdString(display.ecran2));
    ui_->ecran2->setCursorPosition(0); // a long amount shows its start
    if (!display.ecran2Shown && ui_->ecran2->hasFocus()) {
        // Hiding it would tab the focus on into the main display, selecting all of it.
        ui_->ecran->setFocus(Qt::OtherFocusReason);
    }
    ui_->ecran2->setVisible(display.ecran2Shown);
    ui_->monaie2->setText(QString::fromStdString(display.monaie2));
    ui_->monaie2->setVisible(display.monaie2Shown);

    // The main display holds at most maxLength characters, however they come: typing and
    // pasting stop there, and the entry keys are greyed out while it is full, so that the
    // converter never holds text the display cannot show.
    const bool full = display.monaie.empty() && ecran.size() >= ui_->ecran->maxLength();
    for (QPushButton* key : entryKeys_) {
        key->setEnabled(!full);
    }
}

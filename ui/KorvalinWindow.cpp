#include "KorvalinWindow.h"

#include "FailureMessage.h"
#include "ui_Korvalin.h"

#include <QKeySequence>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QStyleOption>

using korvalin::KeyId;
using korvalin::KeyRequest;

KorvalinWindow::KorvalinWindow(QWidget* parent) : QWidget(parent), ui_(new Ui::Korvalin) {
    ui_->setupUi(this);

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

    // Euros is the window's default key: Enter presses it wherever the focus is.
    for (const auto enter : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* shortcut = new QShortcut(QKeySequence(enter), this);
        connect(shortcut, &QShortcut::activated, ui_->euros, &QPushButton::click);
    }

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

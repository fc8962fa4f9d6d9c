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
    }
    connect(ui_->ecran, &QLineEdit::textEdited, this,
            [this](const QString& text) { korvalin_.editEcran(text.toStdString()); });

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
    auto* box = new QMessageBox(QMessageBox::Warning, windowTitle(), failureMessage(error),
                                QMessageBox::Ok, this);
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
}

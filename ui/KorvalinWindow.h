// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AmountDisplay.h"
#include "Korvalin.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <memory>

class Announcer;
class PurchasingPowerWindow;
class QButtonGroup;
class QMessageBox;

namespace Ui {
class Korvalin;
}

// The converter's one window: built from Korvalin.ui, it owns the converter, hands it
// every click and every edit of the main display, and draws its displays.
class KorvalinWindow : public QWidget {
    Q_OBJECT

public:
    explicit KorvalinWindow(QWidget* parent = nullptr);
    ~KorvalinWindow() override;

protected:
    // While a message is open, every key that reaches the window goes to it.
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    // Enter, Escape, and keys for the amount typed while another control has the focus.
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    // The purchasing-power window closes with the converter.
    void closeEvent(QCloseEvent* event) override;

private:
    // Runs one key to its end: a failed conversion is shown to the user and the
    // window goes on; Off closes the window.
    void press(korvalin::KeyId key);
    // Lets an edit of the main display through, or stops it (returns false): nothing is
    // edited while a message is open, a text that does not fit is refused whole, and
    // an edit of a shown result first starts a new amount.
    bool admitEdit(const AmountDisplay::Edit& edit);
    void showMessage(const QString& text);
    // How the main display's text came to change.
    enum class Change {
        edit,     // as the user typed it, or by a key
        newEntry, // the first key of a new amount: no selection is kept
        result,   // a conversion, which the announcement tells
    };
    // Draws the converter's displays.
    void showDisplay(Change change = Change::edit);
    // Work that the first frame does not need: done once it is on screen.
    void finishStartUp();
    // « Pouvoir d'achat… » on the amount on show: its window is built the first time.
    void openPurchasingPower();

    std::unique_ptr<Ui::Korvalin> ui_;
    QButtonGroup* keypad_;
    korvalin::Korvalin korvalin_;
    Announcer* announcer_;
    QPointer<QMessageBox> message_; // the message on show, if any
    QTimer startUp_;                // runs finishStartUp once the first frame is drawn
    bool startedUp_ = false;
    std::unique_ptr<PurchasingPowerWindow> purchasingPower_; // none until first opened
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Korvalin.h"

#include <QList>
#include <QWidget>
#include <memory>

class QPushButton;
class Announcer;

namespace Ui {
class Korvalin;
}

// The converter's one window: built from Korvalin.ui, it owns the converter, hands it
// every click and keyboard edit of the main display, and draws its displays.
class KorvalinWindow : public QWidget {
    Q_OBJECT

public:
    explicit KorvalinWindow(QWidget* parent = nullptr);
    ~KorvalinWindow() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    // Enter, Escape and typing that no control took.
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Runs one key to its end: a failed conversion is shown to the user and the
    // window goes on; Off closes the window.
    void press(korvalin::KeyId key);
    void showFailure(const korvalin::ConversionError& error);
    void showDisplay();

    std::unique_ptr<Ui::Korvalin> ui_;
    QList<QPushButton*> entryKeys_; // the digits and the comma
    korvalin::Korvalin korvalin_;
    Announcer* announcer_;
};

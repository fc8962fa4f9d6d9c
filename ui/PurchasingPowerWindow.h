// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Korvalin.h"

#include <QString>
#include <QWidget>
#include <memory>
#include <string>

class Announcer;

namespace Ui {
class PurchasingPower;
}

// « Pouvoir d'achat… »: what a sum of one year was worth in another, in a window of its
// own beside the converter. It takes the amount the converter shows when it opens and
// never writes back. As the user types it shows one sentence, the answer or the reason
// there is none, and the screen reader hears that sentence each time it settles: Enter
// in a field, the focus leaving a field just edited, a money chosen.
class PurchasingPowerWindow : public QWidget {
    Q_OBJECT

public:
    explicit PurchasingPowerWindow(QWidget* parent = nullptr);
    ~PurchasingPowerWindow() override;

    // Shows the window on the amount on show: a result in its currency, or the amount
    // being typed, whose currency it writes or its year tells. The years and the money
    // to express it in stay as the user left them.
    void open(const korvalin::Display& display);

    // How much smaller the source is written than the rest of the window.
    static constexpr qreal kSmallPrint = 5.0 / 6.0;

protected:
    // Enter presses a focused button, Escape closes.
    void keyPressEvent(QKeyEvent* event) override;
    // The source's small type follows the window's font, and so the desktop's text size.
    void changeEvent(QEvent* event) override;

private:
    // Answers what the fields ask, in the sentence.
    void answer();
    // Tells the screen reader the sentence on show.
    void settle();
    void writeSourceSmall();

    std::unique_ptr<Ui::PurchasingPower> ui_;
    Announcer* announcer_;
    QString result_;      // the amount the copy button copies; empty when there is none
    bool untold_ = false; // the sentence changed since the screen reader last heard it
};

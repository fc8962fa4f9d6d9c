// SPDX-License-Identifier: GPL-3.0-or-later
// How long the window stays busy with what users paste: a text that fills the main
// display (1,000 characters), then Euros, and a text too long for it, which is refused.
// Each text is pasted through the clipboard, then Euros is clicked, and the time until
// the window (and the message, when there is one) has been painted is measured. It also
// tells how much of the text the display kept and whether the converter took exactly
// that. Run it under the offscreen platform or a real X server:
//   QT_QPA_PLATFORM=offscreen build/bench/long_text
// It prints milliseconds and asserts nothing.
#include "KorvalinWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <cstdio>

namespace {

struct Case {
    const char* name;
    QString text;
};

QString repeated(const QString& unit, qsizetype length) {
    QString text = unit.repeated(length / unit.size() + 1);
    text.truncate(length);
    return text;
}

// Lets every queued event and paint run, then paints the visible windows at once.
void settle() {
    QApplication::processEvents();
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible()) {
            widget->repaint();
        }
    }
    QApplication::processEvents();
}

double millisecondsOf(QElapsedTimer& timer) {
    return double(timer.nsecsElapsed()) / 1e6;
}

void run(const Case& c) {
    KorvalinWindow window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "the window was never shown\n");
        return;
    }
    auto* ecran = window.findChild<QLineEdit*>(QStringLiteral("ecran"));
    auto* euros = window.findChild<QPushButton*>(QStringLiteral("euros"));
    ecran->setFocus();
    QApplication::clipboard()->setText(c.text);
    settle();

    QElapsedTimer timer;
    timer.start();
    QTest::keyClick(ecran, Qt::Key_V, Qt::ControlModifier);
    settle();
    const double paste = millisecondsOf(timer);
    const QString shown = ecran->text();

    timer.restart();
    QTest::mouseClick(euros, Qt::LeftButton);
    settle();
    const double convert = millisecondsOf(timer);

    // What was converted is copied to the secondary display.
    const auto* ecran2 = window.findChild<QLineEdit*>(QStringLiteral("ecran2"));
    const bool agree = ecran2->text() == QString(shown).replace(u'.', u',');
    const QMessageBox* box = window.findChild<QMessageBox*>();
    const QSize boxSize = box ? box->size() : QSize();
    std::printf("%-32s %9lld  shown %5lld  agree %-3s  paste %7.1f ms  Euros %7.1f ms  message "
                "%dx%d\n",
                c.name, static_cast<long long>(c.text.size()), static_cast<long long>(shown.size()),
                agree ? "yes" : "NO", paste, convert, boxSize.width(), boxSize.height());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const qsizetype tenMegabytes = qsizetype{10} * 1024 * 1024;
    const Case cases[] = {
        {"1,000 digits", repeated(QStringLiteral("0123456789"), 1000)},
        {"1,000 of digits and spaces", repeated(QStringLiteral("1234 "), 1000)},
        {"1,000 of markup", repeated(QStringLiteral("<table><tr><td>"), 1000)},
        {"a then 999 combining accents", QLatin1Char('a') + QString(999, QChar(0x0301))},
        {"1,001 digits (refused)", repeated(QStringLiteral("0123456789"), 1001)},
        {"10 MB of digits (refused)", repeated(QStringLiteral("0123456789"), tenMegabytes)},
    };
    for (const Case& c : cases) {
        run(c);
    }
    return 0;
}

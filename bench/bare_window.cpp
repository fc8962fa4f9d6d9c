// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick for the program's start-up: a plain Qt Widgets window of the same
// size with the same fifteen buttons, two line edits and four labels, over the same
// background picture, and nothing else (no description file, style sheet or
// converter), so that decoding the picture is not counted as the program's own cost.
// Usage: bare_window BACKGROUND_JPEG
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPixmap>
#include <QPushButton>
#include <QWidget>
#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    const QPixmap picture(args.value(1));
    if (picture.isNull()) {
        std::fputs("usage: bare_window BACKGROUND_JPEG\n", stderr);
        return 2;
    }
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.setFixedSize(276, 226);
    // Drawn from the top left corner; the picture is larger than the window.
    QPalette palette = window.palette();
    palette.setBrush(QPalette::Window, QBrush(picture));
    window.setPalette(palette);
    window.setAutoFillBackground(true);

    const char* captions[] = {"1", "2", "3", "4",   "5",      "6",     "7",     "8",
                              "9", "0", ",", "Off", "Delete", "Euros", "Francs"};
    int i = 0;
    for (const char* caption : captions) {
        auto* button = new QPushButton(QString::fromLatin1(caption), &window);
        button->setGeometry(16 + (i % 3) * 48, 48 + (i / 3) * 36, 33, 25);
        ++i;
    }
    (new QLineEdit(&window))->setGeometry(16, 8, 153, 25);
    (new QLineEdit(&window))->setGeometry(168, 48, 65, 19);
    for (int j = 0; j < 4; ++j) {
        (new QLabel(QStringLiteral("Label"), &window))->setGeometry(184, 88 + j * 30, 65, 17);
    }
    window.show();
    return QApplication::exec();
}

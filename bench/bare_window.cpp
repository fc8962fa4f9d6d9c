// The yardstick for the program's start-up: a plain Qt Widgets window of the same
// size with the same fifteen buttons, two line edits and four labels, and nothing else
// (no description file, style sheet, picture or converter).
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.setFixedSize(276, 226);

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

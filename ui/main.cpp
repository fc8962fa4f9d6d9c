#include "KorvalinWindow.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    KorvalinWindow window;
    window.show();
    return QApplication::exec();
}

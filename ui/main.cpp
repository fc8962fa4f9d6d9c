// SPDX-License-Identifier: GPL-3.0-or-later
#include "KorvalinWindow.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral(KORVALIN_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(KORVALIN_APP_ID));

    KorvalinWindow window;
    // Named after its window before it shows: the X11 window class and the
    // accessibility tree take the name from here.
    QApplication::setApplicationName(window.windowTitle());
    window.show();
    return QApplication::exec();
}

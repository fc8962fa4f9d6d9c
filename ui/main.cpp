// SPDX-License-Identifier: GPL-3.0-or-later
#include "CommandLine.h"
#include "KorvalinWindow.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication::setApplicationVersion(QStringLiteral(KORVALIN_VERSION));
    if (const std::optional<int> status = answerBeforeWindow(argc, argv)) {
        return *status;
    }
    endCleanlyWithoutDisplay(true);
    QApplication app(argc, argv);
    endCleanlyWithoutDisplay(false);
    QGuiApplication::setDesktopFileName(QStringLiteral(KORVALIN_APP_ID));

    KorvalinWindow window;
    // Named after its window before it shows: the X11 window class and the
    // accessibility tree take the name from here.
    QApplication::setApplicationName(window.windowTitle());
    window.show();
    return QApplication::exec();
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "KorvalinWindow.h"
#include "QtTexts.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("La Korvalin"));
    QApplication::setApplicationVersion(QStringLiteral(KORVALIN_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(KORVALIN_APP_ID));
    installFrenchQtTexts(app);

    QIcon icon;
    for (const int size : {32, 64}) {
        icon.addFile(QStringLiteral(":/korvalin/icon-%1.png").arg(size), QSize(size, size));
    }
    QApplication::setWindowIcon(icon);

    KorvalinWindow window;
    window.show();
    return QApplication::exec();
}

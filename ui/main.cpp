// SPDX-License-Identifier: GPL-3.0-or-later
#include "KorvalinWindow.h"
#include "QtTexts.h"

#include <QApplication>
#include <QDir>
#include <QIcon>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral(KORVALIN_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(KORVALIN_APP_ID));
    installFrenchQtTexts(app);

    // Every size the build embeds; each file's own size tells Qt which it is.
    QIcon icon;
    for (const QFileInfo& file : QDir(QStringLiteral(":/korvalin/icons")).entryInfoList()) {
        icon.addFile(file.filePath());
    }
    QApplication::setWindowIcon(icon);

    KorvalinWindow window;
    // Named after its window before it shows: the X11 window class and the
    // accessibility tree take the name from here.
    QApplication::setApplicationName(window.windowTitle());
    window.show();
    return QApplication::exec();
}

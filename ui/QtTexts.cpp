// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtTexts.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool installFrenchQtTexts(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(QLocale(QLocale::French, QLocale::France), QStringLiteral("qtbase"),
                          QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

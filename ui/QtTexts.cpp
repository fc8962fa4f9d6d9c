// SPDX-License-Identifier: GPL-3.0-or-later
#include "QtTexts.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

bool installFrenchQtTexts(QCoreApplication& app) {
    const QString name = QStringLiteral("qtbase_fr");
    if (app.findChild<QTranslator*>(name, Qt::FindDirectChildrenOnly)) {
        return true;
    }
    auto* translator = new QTranslator(&app);
    translator->setObjectName(name);
    if (!translator->load(QLocale(QLocale::French, QLocale::France), QStringLiteral("qtbase"),
                          QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

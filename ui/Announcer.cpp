// SPDX-License-Identifier: GPL-3.0-or-later
#include "Announcer.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace {

QAccessibleInterface* notificationFor(const QString& className, QObject* object) {
    if (className == QLatin1String(Announcer::staticMetaObject.className()) &&
        object->isWidgetType()) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
    }
    return nullptr;
}

// "Euros" read with an amount: lower case, and singular below two, as French has it.
QString currencyWord(const QString& amount, const std::string& currency) {
    bool isNumber = false;
    const double value =
        QString(amount).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&isNumber);
    QString word = QString::fromStdString(currency).toLower();
    if (isNumber && qAbs(value) < 2 && word.endsWith(QLatin1Char('s'))) {
        word.chop(1);
    }
    return word;
}

} // namespace

Announcer::Announcer(QWidget* parent) : QWidget(parent) {
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(notificationFor);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setObjectName(QStringLiteral("annonce"));
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(0, 0, 0, 0);
    hide();
}

void Announcer::announce(const QString& sentence) {
    hide();
    setAccessibleName(sentence);
    show();
}

QString resultAnnouncement(const korvalin::Display& display) {
    const QString result = QString::fromStdString(display.ecran);
    const QString original = QString::fromStdString(display.ecran2).trimmed();
    return QStringLiteral("%1 %2, pour %3 %4")
        .arg(result, currencyWord(result, display.monaie), original,
             currencyWord(original, display.monaie2));
}

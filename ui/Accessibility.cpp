// SPDX-License-Identifier: GPL-3.0-or-later
#include "Accessibility.h"

#include "AmountDisplay.h"
#include "Announcer.h"
#include "DisplayAccessible.h"

QAccessibleInterface* accessibleFor(const QString&, QObject* object) {
    if (auto* announcer = qobject_cast<Announcer*>(object)) {
        return new QAccessibleWidget(announcer, QAccessible::Notification);
    }
    if (auto* display = qobject_cast<AmountDisplay*>(object)) {
        return new DisplayAccessible(display);
    }
    return nullptr;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAccessible>

// The accessible interfaces of the window's own make: the displays' text interface,
// and the announcer as a notification. For QAccessible::installFactory.
QAccessibleInterface* accessibleFor(const QString& className, QObject* object);

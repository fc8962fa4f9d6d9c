// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Korvalin.h"

#include <QString>
#include <QWidget>

// Has a screen reader speak a sentence, whichever control has the focus, without
// showing anything: an empty notification that appears with the sentence as its
// name. Screen readers read a notification when it appears.
class Announcer : public QWidget {
    Q_OBJECT

public:
    explicit Announcer(QWidget* parent);

    void announce(const QString& sentence);
};

// What a conversion's result sounds like: "15,245 euros, pour 100 francs".
QString resultAnnouncement(const korvalin::Display& display,
                           korvalin::ConversionDirection direction);

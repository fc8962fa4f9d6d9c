// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>

// Has Qt's own texts (the display's context menu, the buttons of a message) read in
// French like the rest of the window, whatever the machine's language. Returns false
// when the translations are not installed; Qt's English texts are shown then. Called
// again, it finds them installed already.
bool installFrenchQtTexts(QCoreApplication& app);

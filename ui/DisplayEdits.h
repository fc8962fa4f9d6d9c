// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

class QEvent;

// What an event is about to do to the text of an editable display, told before the
// display handles it: typing, deleting, cutting, undoing, pasting (the keyboard's
// paste, the middle button's, a drop) or an input method's text. Selecting, copying,
// moving the caret and the focus are not edits.
struct DisplayEdit {
    bool edits = false;
    bool cuts = false;             // the edit first copies the selection to the clipboard
    std::optional<QString> pasted; // the text the edit puts in, when it pastes or drops
};

DisplayEdit displayEditBy(const QEvent& event);

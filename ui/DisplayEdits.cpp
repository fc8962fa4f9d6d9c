// SPDX-License-Identifier: GPL-3.0-or-later
#include "DisplayEdits.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>

namespace {

// A key that types its text, as a line edit takes it: printable text, or a format
// character (a direction mark, a joiner), and not a shortcut held with Ctrl.
bool typesText(const QKeyEvent& key) {
    const QString text = key.text();
    if (text.isEmpty()) {
        return false;
    }
    const QChar first = text.front();
    if (first.category() == QChar::Other_Format) {
        return true;
    }
    const Qt::KeyboardModifiers held = key.modifiers() & ~Qt::KeypadModifier;
    if (held == Qt::ControlModifier || held == (Qt::ControlModifier | Qt::ShiftModifier)) {
        return false;
    }
    return first.isPrint() || first.category() == QChar::Other_PrivateUse ||
           (first.isHighSurrogate() && text.size() > 1 && text[1].isLowSurrogate());
}

DisplayEdit keyEdit(const QKeyEvent& key) {
    if (key.matches(QKeySequence::Paste)) {
        const QString pasted = QGuiApplication::clipboard()->text(QClipboard::Clipboard);
        return {!pasted.isEmpty(), false, pasted};
    }
    if (key.matches(QKeySequence::Cut)) {
        return {true, true, {}};
    }
    for (const auto sequence :
         {QKeySequence::Undo, QKeySequence::Redo, QKeySequence::Delete, QKeySequence::Backspace,
          QKeySequence::DeleteStartOfWord, QKeySequence::DeleteEndOfWord,
          QKeySequence::DeleteEndOfLine, QKeySequence::DeleteCompleteLine}) {
        if (key.matches(sequence)) {
            return {true, false, {}};
        }
    }
    const bool deletes = key.key() == Qt::Key_Backspace || key.key() == Qt::Key_Delete;
    return {deletes || typesText(key), false, {}};
}

} // namespace

DisplayEdit displayEditBy(const QEvent& event) {
    switch (event.type()) {
    case QEvent::KeyPress:
        return keyEdit(static_cast<const QKeyEvent&>(event));
    case QEvent::InputMethod: {
        const auto& input = static_cast<const QInputMethodEvent&>(event);
        const bool edits = !input.commitString().isEmpty() || input.replacementLength() > 0 ||
                           !input.preeditString().isEmpty();
        return {edits, false, input.commitString()};
    }
    case QEvent::MouseButtonRelease: {
        // On X11 the middle button pastes the selection of another program.
        const auto& mouse = static_cast<const QMouseEvent&>(event);
        QClipboard* clipboard = QGuiApplication::clipboard();
        if (mouse.button() != Qt::MiddleButton || !clipboard->supportsSelection()) {
            return {};
        }
        const QString selection = clipboard->text(QClipboard::Selection);
        return {!selection.isEmpty(), false, selection};
    }
    case QEvent::Drop: {
        const QMimeData* data = static_cast<const QDropEvent&>(event).mimeData();
        if (!data || !data->hasText()) {
            return {};
        }
        return {true, false, data->text()};
    }
    default:
        return {};
    }
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "AmountDisplay.h"

#include "QtTexts.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QScopedValueRollback>
#include <algorithm>
#include <array>

namespace {

// Whether Qt's line edit cannot edit by this key: it edits by its editing keys, Backspace and
// typed text, which no key without text or with a control character brings (Tab, Enter,
// Escape, a modifier, X11's Ctrl+letter). Moving, selecting and copying never edit.
bool neverEdits(const QKeyEvent& key) {
    using Keys = QKeySequence;
    const auto matches = [&key](auto... keys) { return (key.matches(keys) || ...); };
    int moving = Keys::MoveToNextChar; // the standard keys that move or select follow one another
    for (; moving <= Keys::SelectEndOfDocument && !matches(Keys::StandardKey(moving)); ++moving) {
    }
    return !matches(Keys::Undo, Keys::Redo, Keys::Cut, Keys::Paste, Keys::Delete, Keys::Backspace,
                    Keys::DeleteStartOfWord, Keys::DeleteEndOfWord, Keys::DeleteEndOfLine,
                    Keys::DeleteCompleteLine) &&
           (moving <= Keys::SelectEndOfDocument ||
            matches(Keys::SelectAll, Keys::Copy, Keys::Deselect) ||
            (key.key() != Qt::Key_Backspace &&
             (key.text().isEmpty() || key.text().front().category() == QChar::Other_Control)));
}

} // namespace

AmountDisplay::AmountDisplay(QWidget* parent) : QLineEdit(parent) {
    // Nothing edits the text without asking first: a debug build stops where something did.
    connect(this, &QLineEdit::textEdited, this, [this] { Q_ASSERT(asked_); });
}

bool AmountDisplay::isAmountKey(const QKeyEvent& event) {
    const QString text = event.text();
    return event.key() == Qt::Key_Backspace || event.matches(QKeySequence::Paste) ||
           (text.size() == 1 && (text.front().isDigit() || QStringLiteral(",.").contains(text)));
}

bool AmountDisplay::event(QEvent* event) {
    // An edit asks in the event that makes it, not in one before.
    const QScopedValueRollback<bool> asked(asked_, false);
    return QLineEdit::event(event);
}

bool AmountDisplay::checkedUndo() {
    if (!isUndoAvailable()) {
        return undoBeyond_ && (emit undoBeyond(), true);
    }
    return admits({}) && (undo(), true);
}

bool AmountDisplay::checkedRedo() {
    if (!isRedoAvailable()) {
        return redoBeyond_ && (emit redoBeyond(), true);
    }
    return admits({}) && (redo(), true);
}

bool AmountDisplay::checkedCut() {
    // Copied once admitted, even when the check empties the display first.
    const QString selected = selectedText();
    const bool done = !selected.isEmpty() && admits({});
    if (done) {
        QGuiApplication::clipboard()->setText(selected);
        cut();
    }
    return done;
}

bool AmountDisplay::checkedPaste(bool xSelection) {
    // A paste replaces the selection, even with nothing.
    const QString pasted = QGuiApplication::clipboard()->text(xSelection ? QClipboard::Selection
                                                                         : QClipboard::Clipboard);
    const bool done = (!pasted.isEmpty() || hasSelectedText()) &&
                      admits({pasted, selectedText().size(), Insertion::paste});
    if (done) {
        xSelection ? insert(pasted) : paste();
    }
    return done;
}

void AmountDisplay::keyPressEvent(QKeyEvent* event) {
    // Undo, redo, paste and cut run as the menu's do; any other key that could edit asks
    // first. A key not done goes on to the window: to the main display, or to a message.
    std::optional<bool> done;
    if (isReadOnly()) {
        done = isAmountKey(*event) ? std::optional(false) : std::nullopt;
    } else if (event->matches(QKeySequence::Undo)) {
        done = checkedUndo();
    } else if (event->matches(QKeySequence::Redo)) {
        done = checkedRedo();
    } else if (event->matches(QKeySequence::Paste)) {
        // Ctrl+Shift+Insert, a paste under X11's bindings alone, pastes the X selection.
        done = checkedPaste(event->key() == Qt::Key_Insert &&
                            event->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier));
    } else if (event->matches(QKeySequence::Cut)) {
        done = checkedCut();
    } else if (!neverEdits(*event) && !admits({})) {
        done = false;
    }
    if (done) {
        event->setAccepted(*done);
    } else if (event->matches(QKeySequence::Copy) && !hasSelectedText() && !text().isEmpty()) {
        QGuiApplication::clipboard()->setText(text()); // nothing selected: the whole amount
    } else {
        QLineEdit::keyPressEvent(event);
    }
}

void AmountDisplay::inputMethodEvent(QInputMethodEvent* event) {
    const bool edits = !event->commitString().isEmpty() || event->replacementLength() > 0 ||
                       !event->preeditString().isEmpty();
    if (edits && !admits({event->commitString(), selectedText().size(), Insertion::entry})) {
        return;
    }
    QLineEdit::inputMethodEvent(event);
}

void AmountDisplay::mouseDoubleClickEvent(QMouseEvent* event) {
    QLineEdit::mouseDoubleClickEvent(event); // and a third click selects all, as Qt's does
    // An amount is one word, sign, exponent and currency with it: all of it, less the
    // spaces around it.
    const QString amount = text().trimmed();
    if (event->button() == Qt::LeftButton && !amount.isEmpty()) {
        setSelection(static_cast<int>(text().indexOf(amount)), static_cast<int>(amount.size()));
    }
}

void AmountDisplay::mouseReleaseEvent(QMouseEvent* event) {
    // On X11 the middle button pastes the selection of another program at the caret.
    if (event->button() == Qt::MiddleButton && !isReadOnly() &&
        QGuiApplication::clipboard()->supportsSelection()) {
        const QString pasted = QGuiApplication::clipboard()->text(QClipboard::Selection);
        if (!pasted.isEmpty() && !admits({pasted, 0, Insertion::paste})) {
            return;
        }
    }
    QLineEdit::mouseReleaseEvent(event);
}

void AmountDisplay::dropEvent(QDropEvent* event) {
    const QMimeData* dropped = event->mimeData();
    if (!isReadOnly() && dropped && dropped->hasText() &&
        !admits({dropped->text(), 0, Insertion::drop})) {
        event->ignore();
        return;
    }
    QLineEdit::dropEvent(event);
}

void AmountDisplay::write(int start, int end, const QString& text) {
    if (isReadOnly() || start < 0 || start > end || end > this->text().size() ||
        !admits({text, end - start, Insertion::entry})) {
        return;
    }
    // The range as the check left the text: a new amount starts empty.
    const auto length = static_cast<int>(this->text().size());
    start = std::min(start, length);
    setSelection(start, std::min(end, length) - start);
    insert(text);
}

void AmountDisplay::contextMenuEvent(QContextMenuEvent* event) {
    installFrenchQtTexts(*QCoreApplication::instance());
    // Qt's own menu, item for item, with Qt's own texts; its edits are the keyboard's.
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("qt_edit_menu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const auto add = [this, menu](const std::array<const char*, 3>& item,
                                  std::optional<QKeySequence::StandardKey> shortcut, bool enabled,
                                  auto run) {
        const auto& [name, text, icon] = item;
        QString shown = QLineEdit::tr(text);
        if (shortcut && !QCoreApplication::testAttribute(Qt::AA_DontShowShortcutsInContextMenus)) {
            shown += u'\t' + QKeySequence(*shortcut).toString(QKeySequence::NativeText);
        }
        QAction* action = menu->addAction(shown, this, run);
        action->setObjectName(QString::fromLatin1(name));
        action->setIcon(QIcon::fromTheme(QString::fromLatin1(icon)));
        action->setEnabled(enabled);
    };
    const bool selected = hasSelectedText();
    if (!isReadOnly()) {
        add({"undo", "&Undo", "edit-undo"}, QKeySequence::Undo, isUndoAvailable() || undoBeyond_,
            [this] { checkedUndo(); });
        add({"redo", "&Redo", "edit-redo"}, QKeySequence::Redo, isRedoAvailable() || redoBeyond_,
            [this] { checkedRedo(); });
        menu->addSeparator();
        add({"cut", "Cu&t", "edit-cut"}, QKeySequence::Cut, selected, [this] { checkedCut(); });
    }
    add({"copy", "&Copy", "edit-copy"}, QKeySequence::Copy, selected, [this] { copy(); });
    if (!isReadOnly()) {
        add({"paste", "&Paste", "edit-paste"}, QKeySequence::Paste,
            !QGuiApplication::clipboard()->text().isEmpty(), [this] { checkedPaste(false); });
        // The selection, and nothing else, whatever the caret.
        add({"delete", "Delete", "edit-delete"}, std::nullopt, selected, [this] {
            if (admits({})) {
                insert({});
            }
        });
    }
    menu->addSeparator();
    add({"selectAll", "Select All", ""}, QKeySequence::SelectAll,
        !text().isEmpty() && selectionLength() < text().size(), [this] { selectAll(); });
    if (menuAction_) {
        menu->addSeparator();
        menu->addAction(menuAction_);
    }
    menu->popup(event->globalPos());
}

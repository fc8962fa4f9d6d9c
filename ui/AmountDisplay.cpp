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
#include <algorithm>
#include <utility>

namespace {

// Whether Qt's line edit could not edit the text by this key: it edits by its standard
// editing keys, Backspace, and typed text, which a key with no text or a control
// character (Tab, Enter, Escape, a modifier alone, a Ctrl shortcut of X11) does not
// bring. Moving, selecting and copying never edit, whatever the key brings.
bool neverEdits(const QKeyEvent& key) {
    using Keys = QKeySequence;
    for (const Keys::StandardKey edit :
         {Keys::Undo, Keys::Redo, Keys::Cut, Keys::Paste, Keys::Delete, Keys::Backspace,
          Keys::DeleteStartOfWord, Keys::DeleteEndOfWord, Keys::DeleteEndOfLine,
          Keys::DeleteCompleteLine}) {
        if (key.matches(edit)) {
            return false;
        }
    }
    // The standard keys that move or select follow one another from MoveToNextChar.
    for (int k = Keys::MoveToNextChar; k <= Keys::SelectEndOfDocument; ++k) {
        if (key.matches(Keys::StandardKey(k))) {
            return true;
        }
    }
    const QString text = key.text();
    return key.matches(Keys::SelectAll) || key.matches(Keys::Copy) || key.matches(Keys::Deselect) ||
           (key.key() != Qt::Key_Backspace &&
            (text.isEmpty() || text.front().category() == QChar::Other_Control));
}

// An item of Qt's own menu for a line edit: its text, in Qt's translations, its shortcut
// and its icon in the desktop's theme.
struct MenuItem {
    const char* name;
    const char* text;
    std::optional<QKeySequence::StandardKey> shortcut;
    const char* icon;
};

} // namespace

AmountDisplay::AmountDisplay(QWidget* parent) : QLineEdit(parent) {
    // Nothing edits the text without asking first: a debug build stops where something did.
    connect(this, &QLineEdit::textEdited, this, [this] { Q_ASSERT(asked_); });
}

bool AmountDisplay::isAmountKey(const QKeyEvent& event) {
    const QString text = event.text();
    return event.key() == Qt::Key_Backspace || event.matches(QKeySequence::Paste) ||
           (text.size() == 1 &&
            (text.front().isDigit() || text.front() == u',' || text.front() == u'.'));
}

bool AmountDisplay::event(QEvent* event) {
    // An edit asks in the event that makes it, not in one before.
    const bool outer = std::exchange(asked_, false);
    const bool handled = QLineEdit::event(event);
    asked_ = outer;
    return handled;
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
    // Copied only once admitted, and even when the check empties the display first.
    const QString selected = selectedText();
    if (selected.isEmpty() || !admits({})) {
        return false;
    }
    QGuiApplication::clipboard()->setText(selected);
    cut();
    return true;
}

bool AmountDisplay::checkedPaste(QClipboard::Mode mode) {
    // A paste replaces the selection, even with nothing.
    const QString pasted = QGuiApplication::clipboard()->text(mode);
    if ((pasted.isEmpty() && !hasSelectedText()) ||
        !admits({pasted, selectedText().size(), Insertion::paste})) {
        return false;
    }
    mode == QClipboard::Clipboard ? paste() : insert(pasted);
    return true;
}

void AmountDisplay::keyPressEvent(QKeyEvent* event) {
    // Undo, redo, paste and cut run as the menu's do, and any other key that could edit
    // asks first. A key that does nothing here goes on to the window, which hands the
    // keys for the amount to the main display, or to a message that is open.
    std::optional<bool> done;
    if (isReadOnly()) {
        done = isAmountKey(*event) ? std::optional(false) : std::nullopt;
    } else if (event->matches(QKeySequence::Undo)) {
        done = checkedUndo();
    } else if (event->matches(QKeySequence::Redo)) {
        done = checkedRedo();
    } else if (event->matches(QKeySequence::Paste)) {
        // Ctrl+Shift+Insert, a paste under X11's bindings alone, pastes the X selection.
        const bool x11 = event->key() == Qt::Key_Insert &&
                         event->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier);
        done = checkedPaste(x11 ? QClipboard::Selection : QClipboard::Clipboard);
    } else if (event->matches(QKeySequence::Cut)) {
        done = checkedCut();
    } else if (!neverEdits(*event) && !admits({})) {
        done = false;
    }
    if (done) {
        event->setAccepted(*done);
    } else if (event->matches(QKeySequence::Copy) && !hasSelectedText()) {
        // Ctrl+C with nothing selected copies the whole amount.
        if (!text().isEmpty()) {
            QGuiApplication::clipboard()->setText(text());
        }
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
    const auto add = [this, menu](const MenuItem& item, bool enabled, auto run) {
        QString text = QLineEdit::tr(item.text);
        if (item.shortcut &&
            !QCoreApplication::testAttribute(Qt::AA_DontShowShortcutsInContextMenus)) {
            text += u'\t' + QKeySequence(*item.shortcut).toString(QKeySequence::NativeText);
        }
        QAction* action = menu->addAction(text, this, run);
        action->setObjectName(QString::fromLatin1(item.name));
        action->setIcon(QIcon::fromTheme(QString::fromLatin1(item.icon)));
        action->setEnabled(enabled);
    };
    const bool selected = hasSelectedText();
    if (!isReadOnly()) {
        add({"undo", "&Undo", QKeySequence::Undo, "edit-undo"}, isUndoAvailable() || undoBeyond_,
            [this] { checkedUndo(); });
        add({"redo", "&Redo", QKeySequence::Redo, "edit-redo"}, isRedoAvailable() || redoBeyond_,
            [this] { checkedRedo(); });
        menu->addSeparator();
        add({"cut", "Cu&t", QKeySequence::Cut, "edit-cut"}, selected, [this] { checkedCut(); });
    }
    add({"copy", "&Copy", QKeySequence::Copy, "edit-copy"}, selected, [this] { copy(); });
    if (!isReadOnly()) {
        add({"paste", "&Paste", QKeySequence::Paste, "edit-paste"},
            !QGuiApplication::clipboard()->text().isEmpty(),
            [this] { checkedPaste(QClipboard::Clipboard); });
        // The selection, and nothing else, whatever the caret.
        add({"delete", "Delete", std::nullopt, "edit-delete"}, selected, [this] {
            if (admits({})) {
                insert({});
            }
        });
    }
    menu->addSeparator();
    add({"selectAll", "Select All", QKeySequence::SelectAll, ""},
        !text().isEmpty() && selectionLength() < text().size(), [this] { selectAll(); });
    menu->popup(event->globalPos());
}

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

// Backspace, Delete, and the keys that delete a word or a line.
bool deletesText(const QKeyEvent& key) {
    return key.key() == Qt::Key_Backspace || key.key() == Qt::Key_Delete ||
           key.matches(QKeySequence::DeleteStartOfWord) ||
           key.matches(QKeySequence::DeleteEndOfWord) ||
           key.matches(QKeySequence::DeleteEndOfLine) ||
           key.matches(QKeySequence::DeleteCompleteLine);
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

AmountDisplay::AmountDisplay(QWidget* parent) : QLineEdit(parent) {}

bool AmountDisplay::typesAmount(const QKeyEvent& event) {
    const QString text = event.text();
    return event.key() == Qt::Key_Backspace ||
           (text.size() == 1 &&
            (text.front().isDigit() || text.front() == u',' || text.front() == u'.'));
}

AmountDisplay::Edit AmountDisplay::pasteOf(QClipboard::Mode mode) const {
    // The middle button's paste goes to the caret; the keyboard's replaces the selection.
    return {QGuiApplication::clipboard()->text(mode),
            mode == QClipboard::Clipboard ? selectedText().size() : 0};
}

std::optional<AmountDisplay::Edit> AmountDisplay::editBy(const QKeyEvent& key) const {
    if (key.matches(QKeySequence::Paste)) {
        Edit paste = pasteOf(QClipboard::Clipboard);
        return paste.inserted->isEmpty() ? std::nullopt : std::optional(std::move(paste));
    }
    bool edits = false;
    if (key.matches(QKeySequence::Cut)) {
        edits = hasSelectedText();
    } else if (key.matches(QKeySequence::Undo)) {
        edits = isUndoAvailable();
    } else if (key.matches(QKeySequence::Redo)) {
        edits = isRedoAvailable();
    } else {
        edits = deletesText(key) || typesText(key);
    }
    return edits ? std::optional(Edit{}) : std::nullopt;
}

void AmountDisplay::keyPressEvent(QKeyEvent* event) {
    // Ctrl+C with nothing selected copies the whole amount.
    if (event->matches(QKeySequence::Copy) && !hasSelectedText()) {
        if (!text().isEmpty()) {
            QGuiApplication::clipboard()->setText(text());
        }
        return;
    }
    if (isReadOnly()) {
        if (typesAmount(*event)) {
            event->ignore(); // for the window to hand to the main display
            return;
        }
    } else if (const std::optional<Edit> edit = editBy(*event)) {
        // A cut keeps what it cuts, even when the check empties the display first.
        if (event->matches(QKeySequence::Cut)) {
            copy();
        }
        if (!admits(*edit)) {
            event->ignore(); // on to the window, which may have a message open
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void AmountDisplay::inputMethodEvent(QInputMethodEvent* event) {
    const bool edits = !event->commitString().isEmpty() || event->replacementLength() > 0 ||
                       !event->preeditString().isEmpty();
    if (edits && !admits({event->commitString(), selectedText().size()})) {
        return;
    }
    QLineEdit::inputMethodEvent(event);
}

void AmountDisplay::mouseReleaseEvent(QMouseEvent* event) {
    // On X11 the middle button pastes the selection of another program.
    if (event->button() == Qt::MiddleButton && !isReadOnly() &&
        QGuiApplication::clipboard()->supportsSelection()) {
        const Edit paste = pasteOf(QClipboard::Selection);
        if (!paste.inserted->isEmpty() && !admits(paste)) {
            return;
        }
    }
    QLineEdit::mouseReleaseEvent(event);
}

void AmountDisplay::dropEvent(QDropEvent* event) {
    const QMimeData* dropped = event->mimeData();
    if (!isReadOnly() && dropped && dropped->hasText() && !admits({dropped->text(), 0})) {
        event->ignore();
        return;
    }
    QLineEdit::dropEvent(event);
}

void AmountDisplay::write(int start, int end, const QString& text) {
    if (isReadOnly() || start < 0 || start > end || end > this->text().size() ||
        !admits({text, end - start})) {
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
    // Qt's own menu, item for item, with Qt's own texts.
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
    // An edit of the menu's goes through the check, as the keyboard's do.
    const auto checked = [this](auto apply) {
        return [this, apply] {
            if (admits({})) {
                apply();
            }
        };
    };
    const bool selected = hasSelectedText();
    if (!isReadOnly()) {
        add({"undo", "&Undo", QKeySequence::Undo, "edit-undo"}, isUndoAvailable(),
            checked([this] { undo(); }));
        add({"redo", "&Redo", QKeySequence::Redo, "edit-redo"}, isRedoAvailable(),
            checked([this] { redo(); }));
        menu->addSeparator();
        // The selection is copied before the check may empty the display.
        add({"cut", "Cu&t", QKeySequence::Cut, "edit-cut"}, selected, [this, checked] {
            copy();
            checked([this] { cut(); })();
        });
    }
    add({"copy", "&Copy", QKeySequence::Copy, "edit-copy"}, selected, [this] { copy(); });
    if (!isReadOnly()) {
        add({"paste", "&Paste", QKeySequence::Paste, "edit-paste"},
            !QGuiApplication::clipboard()->text().isEmpty(), [this] {
                if (admits(pasteOf(QClipboard::Clipboard))) {
                    paste();
                }
            });
        // The selection, and nothing else, whatever the caret.
        add({"delete", "Delete", std::nullopt, "edit-delete"}, selected,
            checked([this] { insert({}); }));
    }
    menu->addSeparator();
    add({"selectAll", "Select All", QKeySequence::SelectAll, ""},
        !text().isEmpty() && selectionLength() < text().size(), [this] { selectAll(); });
    menu->popup(event->globalPos());
}

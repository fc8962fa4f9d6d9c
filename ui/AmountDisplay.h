// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "FailureMessage.h"

#include <QLineEdit>
#include <functional>
#include <optional>

class QAction;
class QKeyEvent;

// A display of an amount. Editable, it is the one door through which its text is edited:
// any key not known never to edit, its menu, the middle button, a drop, an input method or a
// screen reader asks the check its owner gave it before the edit applies, and an edit
// refused does not happen. Read-only, it lets the keys for the amount through to the window.
// A double click selects the whole amount.
class AmountDisplay : public QLineEdit {
    Q_OBJECT

public:
    explicit AmountDisplay(QWidget* parent = nullptr);

    // What an edit is about to do.
    struct Edit {
        std::optional<QString> inserted; // the text a paste, drop or written text brings
        qsizetype replaced = 0;          // how many characters that text replaces
        Insertion way = Insertion::paste;
    };
    // Answers whether an edit may apply; it may change the text before it does.
    using EditCheck = std::function<bool(const Edit&)>;
    void setEditCheck(EditCheck check) { check_ = std::move(check); }
    // Whether the owner can undo or redo past the display's own history, which a new
    // amount starts afresh; undoBeyond and redoBeyond ask it to.
    void setHistoryBeyond(bool undo, bool redo) {
        undoBeyond_ = undo;
        redoBeyond_ = redo;
    }

    // An entry of the owner's own at the end of the menu: « Pouvoir d'achat… ».
    void setMenuAction(QAction* action) { menuAction_ = action; }

    // Replaces a range of the text as though it were typed: what a screen reader or
    // another assistive tool writes.
    void write(int start, int end, const QString& text);

    // A digit, the comma or the point, Backspace, or a paste: the keys that edit the
    // amount wherever the focus is.
    static bool isAmountKey(const QKeyEvent& event);

signals:
    void undoBeyond();
    void redoBeyond();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    bool admits(const Edit& edit) {
        asked_ = true;
        return !check_ || check_(edit);
    }
    // The edits of the keyboard and the menu, each checked; false when nothing was done.
    bool checkedUndo();
    bool checkedRedo();
    bool checkedCut();
    bool checkedPaste(bool xSelection); // of the X selection, or else of the clipboard

    EditCheck check_;
    QAction* menuAction_ = nullptr;
    bool undoBeyond_ = false;
    bool redoBeyond_ = false;
    bool asked_ = false; // whether the event being handled asked the check
};

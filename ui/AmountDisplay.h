// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QClipboard>
#include <QLineEdit>
#include <functional>
#include <optional>

class QKeyEvent;

// A display of an amount. Editable, it is the one door through which its text is
// edited: whatever the way (typing, the deleting keys, undo and redo, cut and paste by
// keyboard, middle button or its menu, a drop, an input method, a screen reader), it
// asks the check its owner gave it before the edit applies, and an edit refused does
// not happen. Read-only, it lets the keys that type an amount through to the window.
class AmountDisplay : public QLineEdit {
    Q_OBJECT

public:
    explicit AmountDisplay(QWidget* parent = nullptr);

    // What an edit is about to do.
    struct Edit {
        std::optional<QString> inserted; // the text a paste, drop or written text brings
        qsizetype replaced = 0;          // how many characters that text replaces
    };
    // Answers whether an edit may apply; it may change the text before it does.
    using EditCheck = std::function<bool(const Edit&)>;
    void setEditCheck(EditCheck check) { check_ = std::move(check); }

    // Replaces a range of the text as though it were typed: what a screen reader or
    // another assistive tool writes.
    void write(int start, int end, const QString& text);

    // A digit, the comma or the point, or Backspace: the keys that edit the amount
    // wherever the focus is.
    static bool typesAmount(const QKeyEvent& event);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    bool admits(const Edit& edit) const { return !check_ || check_(edit); }
    // Whether a key edits the text, and how.
    std::optional<Edit> editBy(const QKeyEvent& key) const;
    // A paste of the clipboard at the caret, over the selection.
    Edit pasteOf(QClipboard::Mode mode) const;

    EditCheck check_;
};

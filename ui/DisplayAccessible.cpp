// SPDX-License-Identifier: GPL-3.0-or-later
#include "DisplayAccessible.h"

#include "AmountDisplay.h"
#include "Graphemes.h"

#include <QTextLayout>
#include <algorithm>

namespace {

// Where the items of a kind begin in the text, the end of the text last. A line, a
// paragraph or no boundary at all is the whole text: the display holds one line.
QList<int> itemStarts(const QString& text, QAccessible::TextBoundaryType type) {
    QList<int> starts{0};
    const auto length = static_cast<int>(text.size());
    if (type == QAccessible::CharBoundary || type == QAccessible::WordBoundary ||
        type == QAccessible::SentenceBoundary) {
        QTextBoundaryFinder finder(type == QAccessible::CharBoundary ? QTextBoundaryFinder::Grapheme
                                   : type == QAccessible::WordBoundary
                                       ? QTextBoundaryFinder::Word
                                       : QTextBoundaryFinder::Sentence,
                                   text);
        // A word begins at a word's start; the spaces and signs after it go with it.
        for (qsizetype at = nextBoundary(finder); at > 0 && at < length;
             at = nextBoundary(finder)) {
            if (type != QAccessible::WordBoundary ||
                finder.boundaryReasons().testFlag(QTextBoundaryFinder::StartOfItem)) {
                starts.append(static_cast<int>(at));
            }
        }
    }
    starts.append(length);
    return starts;
}

// The text laid out on one line as the display lays it out, and how far the display
// has scrolled it, learnt from where it draws its caret.
struct Layout {
    QTextLayout text;
    qreal shift = 0;
    QRect caret;

    explicit Layout(const QLineEdit& display) : text(display.text(), display.font()) {
        text.beginLayout();
        text.createLine();
        text.endLayout();
        caret = display.inputMethodQuery(Qt::ImCursorRectangle).toRect();
        shift = caret.center().x() - text.lineAt(0).cursorToX(display.cursorPosition());
    }
};

} // namespace

DisplayAccessible::DisplayAccessible(AmountDisplay* display)
    : QAccessibleWidget(display, QAccessible::EditableText) {}

AmountDisplay* DisplayAccessible::display() const {
    return static_cast<AmountDisplay*>(widget());
}

void* DisplayAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface) {
        return static_cast<QAccessibleTextInterface*>(this);
    }
    if (type == QAccessible::EditableTextInterface && !display()->isReadOnly()) {
        return static_cast<QAccessibleEditableTextInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State DisplayAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = display()->isReadOnly();
    state.editable = !state.readOnly;
    state.selectableText = true;
    return state;
}

QString DisplayAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Value) {
        return display()->text();
    }
    return QAccessibleWidget::text(t);
}

void DisplayAccessible::setText(QAccessible::Text t, const QString& text) {
    if (t == QAccessible::Value) {
        replaceText(0, characterCount(), text);
    }
}

void DisplayAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = -1;
    if (selectionIndex == 0 && display()->hasSelectedText()) {
        *startOffset = display()->selectionStart();
        *endOffset = display()->selectionEnd();
    }
}

int DisplayAccessible::selectionCount() const {
    return display()->hasSelectedText() ? 1 : 0;
}

void DisplayAccessible::addSelection(int startOffset, int endOffset) {
    setSelection(0, startOffset, endOffset);
}

void DisplayAccessible::removeSelection(int selectionIndex) {
    if (selectionIndex == 0) {
        display()->deselect();
    }
}

void DisplayAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
    const int length = characterCount();
    if (selectionIndex == 0 && startOffset >= 0 && startOffset <= length && endOffset >= 0 &&
        endOffset <= length) {
        display()->setSelection(startOffset, endOffset - startOffset);
    }
}

int DisplayAccessible::cursorPosition() const {
    return display()->cursorPosition();
}

void DisplayAccessible::setCursorPosition(int position) {
    display()->setCursorPosition(position);
}

QString DisplayAccessible::text(int startOffset, int endOffset) const {
    const QString text = display()->text();
    startOffset = std::clamp(startOffset, 0, static_cast<int>(text.size()));
    endOffset = std::clamp(endOffset, startOffset, static_cast<int>(text.size()));
    return text.mid(startOffset, endOffset - startOffset);
}

QString DisplayAccessible::item(QAccessible::TextBoundaryType boundaryType, Side side, int offset,
                                int* startOffset, int* endOffset) const {
    const QString text = display()->text();
    const auto length = static_cast<int>(text.size());
    if (offset == -2) {
        offset = display()->cursorPosition();
    } else if (offset == -1) {
        offset = length;
    }
    if (offset < 0 || offset > length) {
        *startOffset = *endOffset = offset < 0 ? 0 : length;
        return {};
    }
    const QList<int> starts = itemStarts(text, boundaryType);
    const auto items = static_cast<int>(starts.size()) - 1;
    // The item the offset lies in. At the end of the text, that is the last item, but
    // for characters: there is no character there.
    auto index =
        static_cast<int>(std::upper_bound(starts.begin(), starts.end(), offset) - starts.begin()) -
        1;
    if (offset == length && (boundaryType != QAccessible::CharBoundary || length == 0)) {
        index = std::max(items - 1, 0);
    }
    index += side == Side::before ? -1 : side == Side::after ? 1 : 0;
    if (index < 0 || index >= items) {
        *startOffset = *endOffset = index < 0 ? 0 : length;
        return {};
    }
    *startOffset = starts[index];
    *endOffset = starts[index + 1];
    return text.mid(*startOffset, *endOffset - *startOffset);
}

QString DisplayAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                            int* startOffset, int* endOffset) const {
    return item(boundaryType, Side::before, offset, startOffset, endOffset);
}

QString DisplayAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                           int* startOffset, int* endOffset) const {
    return item(boundaryType, Side::after, offset, startOffset, endOffset);
}

QString DisplayAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                        int* startOffset, int* endOffset) const {
    return item(boundaryType, Side::at, offset, startOffset, endOffset);
}

int DisplayAccessible::characterCount() const {
    return static_cast<int>(display()->text().size());
}

QRect DisplayAccessible::characterRect(int offset) const {
    if (offset < 0 || offset >= characterCount()) {
        return {};
    }
    const Layout layout(*display());
    const QTextLine line = layout.text.lineAt(0);
    const qreal left = line.cursorToX(offset);
    const qreal right = line.cursorToX(offset + 1);
    const QRect rect(qRound(layout.shift + std::min(left, right)), layout.caret.top(),
                     qRound(std::abs(right - left)), layout.caret.height());
    return {display()->mapToGlobal(rect.topLeft()), rect.size()};
}

int DisplayAccessible::offsetAtPoint(const QPoint& point) const {
    const QPoint local = display()->mapFromGlobal(point);
    if (!display()->rect().contains(local)) {
        return -1;
    }
    const Layout layout(*display());
    return layout.text.lineAt(0).xToCursor(local.x() - layout.shift);
}

void DisplayAccessible::scrollToSubstring(int, int) {
    // The display scrolls to its caret; a screen reader that wants a part shown moves
    // the caret there.
}

QString DisplayAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
    // The whole text looks the same: one run without attributes of its own.
    const int length = characterCount();
    if (offset < 0 || offset > length) {
        *startOffset = *endOffset = -1;
    } else {
        *startOffset = 0;
        *endOffset = length;
    }
    return {};
}

void DisplayAccessible::deleteText(int startOffset, int endOffset) {
    replaceText(startOffset, endOffset, QString());
}

void DisplayAccessible::insertText(int offset, const QString& text) {
    replaceText(offset, offset, text);
}

void DisplayAccessible::replaceText(int startOffset, int endOffset, const QString& text) {
    display()->write(startOffset, endOffset == -1 ? characterCount() : endOffset, text);
}

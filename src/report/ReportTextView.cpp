#include "ReportTextView.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

namespace {
constexpr int kMargin = 4; // pixels around the text, as a text box has
} // namespace

ReportTextView::ReportTextView(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setBackgroundRole(QPalette::Base);
    const auto action = [this](const QString& text, QKeySequence::StandardKey key, auto slot) {
        auto* a = new QAction(text, this);
        a->setShortcut(key);
        a->setShortcutContext(Qt::WidgetShortcut);
        connect(a, &QAction::triggered, this, slot);
        addAction(a);
    };
    action(QStringLiteral("&Copy"), QKeySequence::Copy, &ReportTextView::copy);
    action(QStringLiteral("Select All"), QKeySequence::SelectAll, &ReportTextView::selectAll);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    measure();
}

void ReportTextView::setReportText(ReportText text) {
    text_ = std::move(text);
    anchor_ = cursor_ = 0;
    measure();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    viewport()->update();
}

QFont ReportTextView::fontFor(quint8 style) const {
    QFont f = font();
    if (text_.pointSize() > 0)
        f.setPointSizeF(text_.pointSize());
    f.setBold(style & ReportText::Bold);
    f.setUnderline(style & ReportText::Underline);
    return f;
}

void ReportTextView::measure() {
    const QFontMetricsF fm(fontFor(ReportText::Plain), viewport());
    charWidth_ = qMax(1.0, fm.horizontalAdvance(u'0'));
    lineHeight_ = qMax(1.0, fm.lineSpacing());
    ascent_ = fm.ascent();
    updateScrollBars();
}

int ReportTextView::visibleLines() const {
    return qMax(1, int((viewport()->height() - kMargin) / lineHeight_));
}

void ReportTextView::updateScrollBars() {
    const int lines = visibleLines();
    verticalScrollBar()->setRange(0, int(qMax<qsizetype>(0, text_.lineCount() - lines)));
    verticalScrollBar()->setPageStep(lines);
    verticalScrollBar()->setSingleStep(1);
    const int width = int(std::ceil(double(text_.longestLine() + 1) * charWidth_)) + 2 * kMargin;
    horizontalScrollBar()->setRange(0, qMax(0, width - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(int(charWidth_ * 2));
}

QPointF ReportTextView::origin() const {
    return {kMargin - double(horizontalScrollBar()->value()), double(kMargin)};
}

void ReportTextView::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    const qsizetype first = verticalScrollBar()->value();
    const qsizetype last = qMin(text_.lineCount(), first + visibleLines() + 1);
    const qsizetype from = qMin(anchor_, cursor_), to = qMax(anchor_, cursor_);
    for (qsizetype i = first; i < last; ++i)
        paintLine(p, i, origin().y() + double(i - first) * lineHeight_, from, to);
    if (hasFocus()) {
        const QRect caret = characterRect(cursor_);
        p.fillRect(QRect(caret.topLeft(), QSize(1, caret.height())), palette().text());
    }
}

void ReportTextView::paintLine(QPainter& p, qsizetype line, double top, qsizetype from,
                               qsizetype to) {
    const QStringView chars = text_.line(line);
    const QList<ReportText::Run> runs = text_.runs(line);
    const double left = origin().x();
    const auto draw = [&] {
        for (const ReportText::Run& run : runs) {
            p.setFont(fontFor(run.style));
            p.drawText(QPointF(left + run.column * charWidth_, top + ascent_),
                       chars.sliced(run.column, run.length).toString());
        }
    };
    p.setPen(palette().color(QPalette::Text));
    draw();
    // The selected part, its line end counted as one character, in the selection's colours.
    const qsizetype start = text_.offsetOf(line, 0);
    const qsizetype c0 = qBound<qsizetype>(0, from - start, chars.size() + 1);
    const qsizetype c1 = qBound<qsizetype>(0, to - start, chars.size() + 1);
    if (c1 <= c0)
        return;
    const QRectF selected(left + double(c0) * charWidth_, top, double(c1 - c0) * charWidth_,
                          lineHeight_);
    p.save();
    p.fillRect(selected, palette().highlight());
    p.setClipRect(selected);
    p.setPen(palette().color(QPalette::HighlightedText));
    draw();
    p.restore();
}

QRect ReportTextView::characterRect(qsizetype offset) const {
    const auto [line, column] = text_.positionOf(offset);
    const double top = origin().y() + double(line - verticalScrollBar()->value()) * lineHeight_;
    return QRectF(origin().x() + double(column) * charWidth_, top, charWidth_, lineHeight_)
        .toAlignedRect();
}

qsizetype ReportTextView::offsetAt(const QPoint& point) const {
    const qsizetype line = verticalScrollBar()->value() +
                           qsizetype(std::floor((point.y() - origin().y()) / lineHeight_));
    const qsizetype column = qsizetype(std::lround((point.x() - origin().x()) / charWidth_));
    return text_.offsetOf(qBound<qsizetype>(0, line, text_.lineCount() - 1),
                          qMax<qsizetype>(0, column));
}

void ReportTextView::ensureVisible(qsizetype offset) {
    const auto [line, column] = text_.positionOf(offset);
    QScrollBar* v = verticalScrollBar();
    if (line < v->value())
        v->setValue(int(line));
    else if (line >= v->value() + visibleLines())
        v->setValue(int(line - visibleLines() + 1));
    QScrollBar* h = horizontalScrollBar();
    const int x = int(double(column) * charWidth_);
    const int room = viewport()->width() - 2 * kMargin - int(charWidth_);
    if (x < h->value())
        h->setValue(x);
    else if (x > h->value() + room)
        h->setValue(x - room);
}

void ReportTextView::setSelection(qsizetype anchor, qsizetype cursor) {
    const qsizetype count = text_.characterCount();
    anchor_ = qBound<qsizetype>(0, anchor, count);
    moveCursor(cursor, true);
}

void ReportTextView::moveCursor(qsizetype offset, bool keepAnchor) {
    const qsizetype old = cursor_;
    const bool hadSelection = anchor_ != cursor_;
    cursor_ = qBound<qsizetype>(0, offset, text_.characterCount());
    if (!keepAnchor)
        anchor_ = cursor_;
    ensureVisible(cursor_);
    viewport()->update();
    if (!QAccessible::isActive())
        return;
    if (cursor_ != old) {
        QAccessibleTextCursorEvent moved(this, int(cursor_));
        QAccessible::updateAccessibility(&moved);
    }
    if (hadSelection || anchor_ != cursor_) {
        QAccessibleTextSelectionEvent selected(this, int(qMin(anchor_, cursor_)),
                                               int(qMax(anchor_, cursor_)));
        QAccessible::updateAccessibility(&selected);
    }
}

void ReportTextView::selectAll() {
    setSelection(0, text_.characterCount());
}

void ReportTextView::copy() const {
    if (anchor_ != cursor_)
        QGuiApplication::clipboard()->setText(selectedText());
}

void ReportTextView::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy))
        return copy();
    if (event->matches(QKeySequence::SelectAll))
        return selectAll();
    const auto [line, column] = text_.positionOf(cursor_);
    const qsizetype page = visibleLines();
    const qsizetype end = text_.characterCount();
    const auto lineAt = [&, col = column](qsizetype l) { return text_.offsetOf(l, col); };
    // Each movement and the same with the selection held.
    const struct {
        QKeySequence::StandardKey move, select;
        qsizetype to;
    } moves[] = {
        {QKeySequence::MoveToNextChar, QKeySequence::SelectNextChar, cursor_ + 1},
        {QKeySequence::MoveToPreviousChar, QKeySequence::SelectPreviousChar, cursor_ - 1},
        {QKeySequence::MoveToNextLine, QKeySequence::SelectNextLine, lineAt(line + 1)},
        {QKeySequence::MoveToPreviousLine, QKeySequence::SelectPreviousLine,
         line == 0 ? 0 : lineAt(line - 1)},
        {QKeySequence::MoveToNextPage, QKeySequence::SelectNextPage, lineAt(line + page)},
        {QKeySequence::MoveToPreviousPage, QKeySequence::SelectPreviousPage,
         lineAt(qMax<qsizetype>(0, line - page))},
        {QKeySequence::MoveToStartOfLine, QKeySequence::SelectStartOfLine, text_.offsetOf(line, 0)},
        {QKeySequence::MoveToEndOfLine, QKeySequence::SelectEndOfLine,
         text_.offsetOf(line, text_.line(line).size())},
        {QKeySequence::MoveToStartOfDocument, QKeySequence::SelectStartOfDocument, 0},
        {QKeySequence::MoveToEndOfDocument, QKeySequence::SelectEndOfDocument, end},
    };
    for (const auto& m : moves) {
        if (event->matches(m.move) || event->matches(m.select))
            return moveCursor(m.to, event->matches(m.select));
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void ReportTextView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mousePressEvent(event);
    moveCursor(offsetAt(event->position().toPoint()), event->modifiers() & Qt::ShiftModifier);
}

void ReportTextView::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton)
        moveCursor(offsetAt(event->position().toPoint()), true);
}

void ReportTextView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void ReportTextView::changeEvent(QEvent* event) {
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        measure();
}

void ReportTextView::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void ReportTextView::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

// What a screen reader finds in the report's text: a read-only, multi-line text box whose text,
// cursor and selection it can read and move, as in any text box of the desktop.
namespace {

class ReportTextAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit ReportTextAccessible(ReportTextView* view)
        : QAccessibleWidget(view, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        s.editable = false;
        s.multiLine = true;
        s.selectableText = true;
        return s;
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value)
            return view()->toPlainText();
        return QAccessibleWidget::text(t);
    }

    void selection(int selectionIndex, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
        if (selectionIndex != 0 || view()->anchorPosition() == view()->cursorPosition())
            return;
        *startOffset = int(qMin(view()->anchorPosition(), view()->cursorPosition()));
        *endOffset = int(qMax(view()->anchorPosition(), view()->cursorPosition()));
    }
    int selectionCount() const override {
        return view()->anchorPosition() == view()->cursorPosition() ? 0 : 1;
    }
    void addSelection(int startOffset, int endOffset) override {
        view()->setSelection(startOffset, endOffset);
    }
    void removeSelection(int selectionIndex) override {
        if (selectionIndex == 0)
            view()->setSelection(view()->cursorPosition(), view()->cursorPosition());
    }
    void setSelection(int selectionIndex, int startOffset, int endOffset) override {
        if (selectionIndex == 0)
            view()->setSelection(startOffset, endOffset);
    }
    int cursorPosition() const override { return int(view()->cursorPosition()); }
    void setCursorPosition(int position) override { view()->setSelection(position, position); }
    QString text(int startOffset, int endOffset) const override {
        return view()->reportText().text(startOffset, endOffset);
    }
    int characterCount() const override { return int(view()->reportText().characterCount()); }
    QRect characterRect(int offset) const override {
        const QRect r = view()->characterRect(offset);
        return QRect(view()->viewport()->mapToGlobal(r.topLeft()), r.size());
    }
    int offsetAtPoint(const QPoint& point) const override {
        return int(view()->offsetAt(view()->viewport()->mapFromGlobal(point)));
    }
    void scrollToSubstring(int startIndex, int) override { view()->ensureVisible(startIndex); }
    QString attributes(int offset, int* startOffset, int* endOffset) const override {
        *startOffset = offset;
        *endOffset = offset + 1;
        return QString();
    }

private:
    ReportTextView* view() const { return static_cast<ReportTextView*>(widget()); }
};

QAccessibleInterface* accessibleReportText(const QString&, QObject* object) {
    if (auto* view = qobject_cast<ReportTextView*>(object))
        return new ReportTextAccessible(view);
    return nullptr;
}
// Installed before any view exists: the first look at a widget fixes how it is presented.
const bool accessibleReportTextInstalled =
    (QAccessible::installFactory(accessibleReportText), true);

} // namespace

#pragma once
// The report's text on the screen: fixed pitch, never wrapped, scrolled both ways, read-only,
// with selection by mouse and keyboard, Copy and Select All, and the text interface a screen
// reader uses. It paints only the lines in sight, so ten years show as fast as a week.
#include "ReportText.h"

#include <QAbstractScrollArea>

class ReportTextView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit ReportTextView(QWidget* parent = nullptr);

    void setReportText(ReportText text);
    const ReportText& reportText() const { return text_; }
    QString toPlainText() const { return text_.toPlainText(); }

    // Positions are offsets in the plain text (ReportText).
    qsizetype cursorPosition() const { return cursor_; }
    qsizetype anchorPosition() const { return anchor_; }
    void setSelection(qsizetype anchor, qsizetype cursor);
    QString selectedText() const { return text_.text(anchor_, cursor_); }
    void selectAll();
    void copy() const;

    // The character at an offset, in the viewport's coordinates, and the offset nearest a point.
    QRect characterRect(qsizetype offset) const;
    qsizetype offsetAt(const QPoint& viewportPoint) const;
    // Scrolls so that the character at `offset` is in sight.
    void ensureVisible(qsizetype offset);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    QFont fontFor(quint8 style) const;
    void measure();
    void updateScrollBars();
    int visibleLines() const;
    QPointF origin() const; // where the first column of the first line in sight is drawn
    // Moves the cursor to `offset`, the anchor with it unless `keepAnchor`.
    void moveCursor(qsizetype offset, bool keepAnchor);
    void paintLine(QPainter& p, qsizetype line, double top, qsizetype from, qsizetype to);

    ReportText text_;
    qsizetype anchor_ = 0;
    qsizetype cursor_ = 0;
    double charWidth_ = 1;
    double lineHeight_ = 1;
    double ascent_ = 0;
};

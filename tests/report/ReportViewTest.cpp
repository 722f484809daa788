// The report window's text and chart as a person and a screen reader meet them: the text as the
// rich text reads, selected and copied with the keys, scrolled both ways; the chart named and
// described in words; and a very long report that still opens.
#include "ReportWindowFixture.h"

#include "CalorieChartView.h"
#include "ReportRows.h"
#include "ReportTextView.h"

#include <QAccessible>
#include <QClipboard>
#include <QGuiApplication>
#include <QScrollBar>

using namespace Qt::StringLiterals;

namespace {
const QDate kLo(2026, 1, 5);
const QDate kHi(2026, 1, 11);

QAccessibleInterface* accessible(QWidget* w) {
    return QAccessible::queryAccessibleInterface(w);
}
} // namespace

TEST_F(ReportWindowTest, TheTextIsSelectedCopiedAndReadAsAReadOnlyTextBox) {
    prepare({reportRow(1, u"2026-01-05"_s, u"Apple"_s), reportRow(2, u"2026-01-05"_s, u"Bread"_s),
             reportRow(3, u"2026-01-07"_s, u"Milk"_s)});
    start();
    report("mnuToolsDietReport", kLo, kHi, [](frmReport& f) {
        ReportTextView* view = f.rtReport;
        const QString text = view->toPlainText();
        const QStringList lines = text.split(u'\n');
        ASSERT_GE(lines.size(), 20);
        EXPECT_TRUE(lines[0].startsWith(u"Food Name"_s + sp(46) + u"Servings       Fat"_s));
        EXPECT_EQ(lines[2], u"01/05/2026"_s);
        EXPECT_TRUE(lines[4].startsWith(u"Apple"_s + sp(50) + u"    1.50"_s));
        EXPECT_EQ(lines[5], u"   [1 cup]"_s);
        // Bold headings and totals, underlined headings, in the report's fixed-pitch font.
        const ReportText& shown = view->reportText();
        EXPECT_EQ(shown.runs(0).first().style, ReportText::Bold | ReportText::Underline);
        EXPECT_EQ(shown.runs(2).first().style, ReportText::Bold);
        EXPECT_EQ(shown.runs(4).first().style, ReportText::Plain);
        EXPECT_TRUE(QFontInfo(view->font()).fixedPitch());
        EXPECT_EQ(view->font().family(), u"Liberation Mono"_s);

        // Ctrl+A and Ctrl+C copy the whole text; Shift+Down from the top copies lines.
        view->setFocus();
        QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(QGuiApplication::clipboard()->text(), text);
        QTest::keyClick(view, Qt::Key_Home, Qt::ControlModifier);
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(view, Qt::Key_Down, Qt::ShiftModifier);
        QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(QGuiApplication::clipboard()->text(), lines.mid(0, 3).join(u'\n') + u'\n');
        // A drag with the mouse selects from where it was pressed to where it is let go.
        const QRect date = view->characterRect(text.indexOf(u"01/05/2026"_s));
        const QPoint from = date.topLeft() + QPoint(1, date.height() / 2);
        const QPoint to = from + QPoint(date.width() * 5, 0);
        QTest::mousePress(view->viewport(), Qt::LeftButton, {}, from);
        QMouseEvent drag(QEvent::MouseMove, to, view->viewport()->mapToGlobal(to), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &drag);
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, to);
        EXPECT_EQ(view->selectedText(), u"01/05"_s);

        // The lines are wider than the view, and the end is out of sight: both ways scroll.
        EXPECT_GT(view->horizontalScrollBar()->maximum(), 0);
        QTest::keyClick(view, Qt::Key_End, Qt::ControlModifier);
        EXPECT_EQ(view->verticalScrollBar()->value(), view->verticalScrollBar()->maximum());
        EXPECT_GT(view->verticalScrollBar()->maximum(), 0);

        // A screen reader finds a read-only text box of several lines, and reads its text.
        QAccessibleInterface* box = accessible(view);
        EXPECT_EQ(box->role(), QAccessible::EditableText);
        EXPECT_EQ(box->text(QAccessible::Name), u"Report"_s);
        EXPECT_TRUE(box->state().readOnly && box->state().multiLine);
        QAccessibleTextInterface* reader = box->textInterface();
        ASSERT_TRUE(reader);
        EXPECT_EQ(reader->characterCount(), text.size());
        EXPECT_EQ(reader->text(0, reader->characterCount()), text);
        reader->setSelection(0, 0, 9);
        EXPECT_EQ(view->selectedText(), u"Food Name"_s);
        int start = 0, end = 0;
        reader->selection(0, &start, &end);
        EXPECT_EQ(end - start, 9);
        const QRect at = reader->characterRect(text.indexOf(u"Apple"_s));
        EXPECT_EQ(reader->offsetAtPoint(at.center()), text.indexOf(u"Apple"_s));

        // The chart below names itself and says what it shows in words.
        QAccessibleInterface* chart = accessible(f.picCalories);
        EXPECT_EQ(chart->role(), QAccessible::Chart);
        EXPECT_EQ(chart->text(QAccessible::Name), u"Calories per day"_s);
        EXPECT_EQ(chart->text(QAccessible::Description),
                  u"From 01/05/26 to 01/11/26: average 450 kcal a day on the 2 days with "
                  "entries; highest 600 kcal on 01/05/26"_s);
    });
}

#ifndef FORKWISE_SANITIZED // as long under the sanitizers as the rest of their suite together
TEST_F(ReportWindowTest, TwentyThousandEntriesOnOneDayOpen) {
    prepare({u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 20000) "
             "INSERT INTO DietActivity (DietId, UserName, DietDate, FoodName, NumServings, "
             "ServingSize, Fat, Carbohydrate, Protein, Calorie, Sodium, Cholesterol, Other1, "
             "Other2) SELECT i, 'USER1', '2026-01-06', printf('Food %05d', i), 1, '1 cup', 1, 2, "
             "3, 40, 5, 6, 7, 8 FROM n"_s});
    start();
    report("mnuToolsDietReport", kLo, kHi, [](frmReport& f) {
        const ReportText& shown = f.rtReport->reportText();
        // Headings, the day, two lines an entry, the day's and the grand totals.
        EXPECT_EQ(shown.lineCount(), 4 + 2 * 20000 + 10);
        EXPECT_TRUE(shown.line(4).startsWith(u"Food 00001 "_s));
        EXPECT_TRUE(shown.line(shown.lineCount() - 4).startsWith(u"Report Grand Totals:"_s));
        EXPECT_EQ(f.PrintLines.size(), 2 * 20000 + 6);
        EXPECT_TRUE(f.cmdPrint->isEnabled());
        EXPECT_EQ(f.picCalories->accessibleDescription(),
                  u"From 01/05/26 to 01/11/26: average 800,000 kcal a day on the one day with "
                  "entries; highest 800,000 kcal on 01/06/26"_s);
    });
}
#endif

// The report's rich text read back as the screen shows it.
#include "RtfReader.h"
#include "ReportRows.h"
#include "ReportText.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QString plain(QStringView rtf) {
    QStringList paragraphs;
    for (const RtfParagraph& p : parseRtf(rtf)) {
        QString text;
        for (const RtfRun& run : p)
            text += run.text;
        paragraphs << text;
    }
    return paragraphs.join(u'\n');
}

// One letter per character of the line: B bold and underlined, b bold, u underlined, . plain.
QString emphasis(const ReportText& text, qsizetype line) {
    QString mask;
    for (const ReportText::Run& run : text.runs(line))
        mask += QString(run.length, u".buB"[run.style]);
    return mask;
}

} // namespace

TEST(RtfReader, TheReportReadsBackAsItsLinesInBoldAndUnderline) {
    const BuiltReport report = BuildReport(oneDay(), {u"Fiber grams"_s, QString()});
    const ReportText shown = readReportText(report.rtf);

    // One line for each paragraph the reader reads, with its text.
    EXPECT_EQ(shown.toPlainText(), plain(report.rtf));
    EXPECT_EQ(shown.lineCount(), 18);

    QString headingMask = QString(9, u'B') + QString(46, u'.') + QString(8, u'B');
    for (int column = 0; column < 8; ++column)
        headingMask += u".."_s + QString(8, u'B');
    EXPECT_EQ(emphasis(shown, 0), headingMask);
    EXPECT_EQ(emphasis(shown, 2), QString(10, u'b'));
    EXPECT_EQ(emphasis(shown, 4), QString(143, u'.'));
    EXPECT_EQ(emphasis(shown, 9), QString(143, u'b') + u'.');
    EXPECT_EQ(shown.pointSize(), 8); // \fs16

    // Positions count each line end as one character, as the plain text does.
    const QString plainText = shown.toPlainText();
    EXPECT_EQ(shown.characterCount(), plainText.size());
    const qsizetype at = plainText.indexOf(u"Apple"_s);
    EXPECT_EQ(shown.positionOf(at), std::make_pair(qsizetype(4), qsizetype(0)));
    EXPECT_EQ(shown.offsetOf(4, 0), at);
    EXPECT_EQ(shown.text(at - 3, at + 5), plainText.mid(at - 3, 8));
    EXPECT_EQ(shown.text(at + 5, at - 3), plainText.mid(at - 3, 8)); // either way round
}

TEST(RtfReader, NamesWithBracesBackslashesAndAccentsShowAsTheyArePrinted) {
    const QString name = u"Café {½} \\ 🍎"_s;
    const BuiltReport report =
        BuildReport({row(kJan5, name, 1, u"1 {big} \\ portion"_s, {1, 1, 1, 1, 1, 1, 1, 1})},
                    {u"Ünits"_s, u"{x}"_s});
    EXPECT_TRUE(report.lines[1].Text.startsWith(name + sp(54 - name.size()) + u' '));
    EXPECT_TRUE(report.rtf.contains(u"Caf\\u233? \\{\\u189?\\} \\\\ \\u-10180?\\u-8370?"_s));
    EXPECT_TRUE(report.rtf.contains(u"   [1 \\{big\\} \\\\ portion]"_s));
    for (const QChar c : report.rtf)
        ASSERT_LT(c.unicode(), 0x80) << "the rich text is plain ASCII";

    const QStringList screen = plain(report.rtf).split(u'\n');
    EXPECT_TRUE(screen[0].endsWith(u"   Ünits       {x}"_s));
    EXPECT_EQ(screen[4], report.lines[1].Text);
    EXPECT_EQ(screen[5], report.lines[2].Text);
}

TEST(RtfReader, ReadsTheSubsetAndSurvivesHostileInput) {
    const QList<RtfParagraph> runs = parseRtf(u"}}a{\\b b\\ul c\\ulnone d}\\ul0 e{\\ul f\\ul0 g"_s);
    const RtfParagraph expected = {{u"a"_s, false, false, 0}, {u"b"_s, true, false, 0},
                                   {u"c"_s, true, true, 0},   {u"d"_s, true, false, 0},
                                   {u"e"_s, false, false, 0}, {u"f"_s, false, true, 0},
                                   {u"g"_s, false, false, 0}};
    EXPECT_EQ(runs, QList<RtfParagraph>{expected});
    EXPECT_EQ(parseRtf(u"{\\fs20 x}"_s).value(0).value(0).pointSize, 10);

    EXPECT_EQ(plain(u"{\\rtf1\\f2 \\u-10180?\\u-8370?x}"_s), u"🍎x"_s);
    EXPECT_EQ(plain(u"\\u-10180?x \\u-8370?"_s), u"\uFFFDx \uFFFD"_s); // halves of a pair
    EXPECT_EQ(plain(u"\\u233\\'e9x\\u233??"_s), u"éxé?"_s);            // one fallback skipped
    EXPECT_EQ(plain(u"{\\uc0 \\u233 x}"_s), u"éx"_s);
    EXPECT_EQ(plain(u"\\u99999999999999999999999? ok"_s), u"\uFFFD ok"_s);
    EXPECT_EQ(plain(u"a\\fs99999999999999999999 b\\unknownword c\r\nd\\par e"_s), u"abcd\ne"_s);
    EXPECT_EQ(plain(QString(200000, u'{') + u"deep"_s + QString(5, u'}')), u"deep"_s);

    for (const QString& hostile :
         {u"\\"_s, u"{\\rtf1\\b"_s, u"\\u"_s, u"_s\\u-"_s, u"\\'"_s, u"\\'4"_s, u"\\u65?\\"_s,
          QString(100000, u'}'), u"\\par"_s.repeated(20000)}) {
        EXPECT_LE(readReportText(hostile).lineCount(), 20001);
    }
}

#include "ReportPrinting.h"

#include "MyTools.h"
#include "ReportPrinter.h"
#include "RtfReader.h"
#include "Version.h"

#include <cmath>

namespace {

constexpr double kLeftMargin = 800;
// The line counter before the first page: high enough to start a page at once.
constexpr long kNoPage = 999;

struct Heading {
    int offset; // in characters from the left margin
    QString text;
};

QList<Heading> headings(const ReportLabels& labels) {
    // On paper a label is passed whole to PadL: a long one shows its last 8 characters.
    return {{0, QStringLiteral("Food Name")},     {55, QStringLiteral("Servings")},
            {65, QStringLiteral("     Fat")},     {75, QStringLiteral("   Carbs")},
            {85, QStringLiteral(" Protein")},     {95, QStringLiteral("Calories")},
            {105, QStringLiteral("  Sodium")},    {115, QStringLiteral("    Chol")},
            {125, gTools.PadL(labels.other1, 8)}, {135, gTools.PadL(labels.other2, 8)}};
}

QString footerText(int page, const QDate& printDate) {
    return gTools.PadR(QStringLiteral("Page ") + QString::number(page), 133) +
           printDate.toString(QStringLiteral("MM/dd/yyyy"));
}

} // namespace

QString ReportTitle(const PrintHeader& header) {
    return QStringLiteral("Forkwise %1.%2 Diet Activity Report for User: %3 for Date Range: %4")
        .arg(FORKWISE_VERSION_MAJOR)
        .arg(FORKWISE_VERSION_MINOR)
        .arg(header.userName, header.dateRange);
}

bool PrintReport(const PrintLineList& lines, const PrintHeader& header, const QDate& printDate,
                 ReportPrinter& printer, const ChartData* chart) {
    const QString title = ReportTitle(header);
    const QList<Heading> columnHeadings = headings(header.labels);
    printer.setLandscape();
    printer.setFontName(ReportBaseFont().family());
    printer.setFontSize(8);

    const double tw = std::round(printer.textWidth(QStringLiteral("T")));
    const double lineHeight = printer.textHeight(QStringLiteral("T"));
    const double topY = std::round(5 * lineHeight);
    const double bottomY = std::round(printer.scaleHeight() - topY);
    const long lpp = std::lround((printer.scaleHeight() - topY - topY) / lineHeight);

    const auto printAt = [&](const QString& text) {
        printer.setCurrentX(kLeftMargin);
        printer.print(text);
    };
    const auto tagOf = [&](qsizetype i) { return i < lines.size() ? lines.tag(i) : QString(); };
    const auto footer = [&] {
        printer.setFontBold(true);
        // The rule's underline must not run on into the footer and the next page's title.
        printer.setFontUnderline(false);
        printer.setCurrentX(kLeftMargin);
        printer.setCurrentY(bottomY);
        printer.print(footerText(printer.page(), printDate));
    };
    const auto pageHeader = [&] {
        printer.setFontBold(true);
        printer.setFontUnderline(false);
        printer.setCurrentX(kLeftMargin);
        printer.setCurrentY(topY);
        printer.setFontSize(10);
        printer.print(title);
        printer.setFontSize(8);
        printer.print(QString());
        printer.print(QString());
        const double headingY = printer.currentY();
        printer.setFontUnderline(true);
        for (qsizetype h = 0; h < columnHeadings.size(); ++h) {
            printer.setCurrentX(kLeftMargin + tw * columnHeadings[h].offset);
            printer.setCurrentY(headingY);
            printer.print(columnHeadings[h].text, h == columnHeadings.size() - 1);
        }
        printer.setFontBold(false);
        printer.setFontUnderline(false);
    };

    long counter = kNoPage;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        // Room is checked for 4 more lines: a day's totals block is the largest that follows,
        // and one more when it closes with its percents of the daily targets.
        const long room = tagOf(i + 2) == u"POSTBREAK3" ? 5 : 4;
        if (counter >= lpp - room) {
            if (counter != kNoPage) {
                footer();
                printer.newPage();
            }
            pageHeader();
            counter = 5;
        }
        const QString tag = lines.tag(i);
        if (tag.startsWith(QStringLiteral("DETAIL"))) {
            printer.setFontBold(false);
        } else {
            printer.setFontBold(true);
            printer.print(QString());
            ++counter;
        }
        printer.setFontUnderline(tag == u"TOTAL1");
        printAt(lines.text(i));
        ++counter;
        if (tag == u"DETAIL1" && tagOf(i + 1) == u"DETAIL2") {
            printAt(lines.text(++i));
            ++counter;
        }
        if (tag == u"PREBREAK") {
            printer.print(QString());
            ++counter;
        }
        if (tag == u"POSTBREAK1" && tagOf(i + 1) == u"POSTBREAK2") {
            printAt(lines.text(++i));
            ++counter;
            if (tagOf(i + 1) == u"POSTBREAK3") {
                printAt(lines.text(++i));
                ++counter;
            }
            printer.print(QString());
            ++counter;
        }
    }
    footer();
    if (chart) {
        printer.newPage();
        pageHeader();
        // Between the headings and the footer, a line clear of each, as wide as the table.
        const double top = printer.currentY() + lineHeight;
        printer.drawChart(
            QRectF(kLeftMargin, top, tw * kReportLineWidth, bottomY - lineHeight - top), *chart);
        footer();
    }
    return printer.endDoc();
}

#include "ReportBuilder.h"

#include "MyTools.h"
#include "ReportCells.h"
#include "RtfWriter.h"

#include <optional>

namespace {

using Totals = std::array<double, RvCount>;

const char* const kFixedHeadings[] = {"     Fat", "   Carbs", " Protein",
                                      "Calories", "  Sodium", "    Chol"};

QString dateText(const QDate& d) {
    return d.toString(QStringLiteral("MM/dd/yyyy"));
}

QString totalCells(const Totals& totals) {
    QString out;
    for (const double v : totals)
        out += FigureCell(v, 1, 10);
    return out;
}

QString shares(const Totals& t) {
    return CalorieShares(t[RvFat], t[RvCarbohydrate], t[RvProtein], t[RvCalorie]);
}

class Builder {
public:
    BuiltReport build(const QList<ReportRow>& rows, const ReportLabels& labels) {
        if (rows.isEmpty())
            return {QStringLiteral(
                        "{\\rtf1\\fs16{\\b\\f2 No Data Available for the selected Date Range}}"),
                    {}};
        rtf_ = QStringLiteral("{\\rtf1\\fs16");
        headings(labels);
        rtf_ += QStringLiteral("{\\par\\par\\f2 ");
        // An optional, not a sentinel date: a row of any date starts the first day.
        std::optional<QDate> previous;
        for (const ReportRow& row : rows) {
            if (!previous || row.DietDate != *previous) {
                if (previous) {
                    dayTotals(*previous);
                    rtf_ += QStringLiteral("}\\par\\par\\par ");
                }
                day_.fill(0);
                rtf_ += QStringLiteral("{\\f2\\b ") + dateText(row.DietDate) +
                        QStringLiteral("}\\par\\par ");
                add(QStringLiteral("PREBREAK"), dateText(row.DietDate));
                previous = row.DietDate;
            }
            detail(row);
        }
        dayTotals(*previous);
        rtf_ += QStringLiteral("}\\par\\par {\\f2\\b ");
        grandTotals();
        return {rtf_, lines_};
    }

private:
    void add(const QString& tag, const QString& text) { lines_.append({tag, text}); }

    void headings(const ReportLabels& labels) {
        rtf_ += QStringLiteral("{\\b\\f2\\ul Food Name}{\\f2 ") + QString(46, u' ') + u'}';
        rtf_ += QStringLiteral("{\\f2 }{\\b\\f2\\ul Servings}");
        for (const char* heading : kFixedHeadings)
            rtf_ += QStringLiteral("{\\f2   }{\\b\\f2\\ul ") + QLatin1String(heading) + u'}';
        for (const QString& label : {labels.other1, labels.other2})
            rtf_ += QStringLiteral("{\\f2   }{\\b\\f2\\ul ") +
                    RtfEscape(gTools.PadL(FirstChars(label, 8), 8)) + u'}';
    }

    void detail(const ReportRow& row) {
        QString line = TextCell(row.FoodName, 54) + u' ' + FigureCell(row.NumServings, 2, 8);
        for (const auto& v : row.values)
            line += FigureCell(v, 1, 10);
        rtf_ += RtfEscape(line) + QStringLiteral("\\par ");
        add(QStringLiteral("DETAIL1"), line);

        const QString size = QStringLiteral("   [") + ServingSizeText(row.ServingSize) + u']';
        rtf_ += RtfEscape(size) + QStringLiteral("\\par ");
        add(QStringLiteral("DETAIL2"), size);

        for (int i = 0; i < RvCount; ++i) {
            day_[i] += row.values[i].value_or(0.0);
            grand_[i] += row.values[i].value_or(0.0);
        }
    }

    void dayTotals(const QDate& date) {
        rtf_ += QStringLiteral("\\par {\\f2\\b ");
        const QString totals =
            gTools.PadR(dateText(date) + QStringLiteral(" Totals:"), 63) + totalCells(day_);
        rtf_ += totals;
        add(QStringLiteral("POSTBREAK1"), totals);
        rtf_ += QStringLiteral("} \\par {\\f2\\b ");
        // One blank more than the grand line's label, as it always was.
        const QString share =
            gTools.PadR(QString(10, u' ') + QStringLiteral(" Calculated Percentage of Calories:"),
                        64) +
            shares(day_);
        rtf_ += share;
        add(QStringLiteral("POSTBREAK2"), share);
    }

    void grandTotals() {
        add(QStringLiteral("TOTAL1"), QString(kReportLineWidth, u' '));
        rtf_ += QString(kReportLineWidth, u'_') + QStringLiteral("}\\par\\par {\\f2\\b ");

        const QString totals =
            gTools.PadR(QStringLiteral("Report Grand Totals:"), 63) + totalCells(grand_);
        rtf_ += totals;
        add(QStringLiteral("TOTAL2"), totals);
        rtf_ += QStringLiteral("} \\par {\\f2\\b ");

        const QString share =
            gTools.PadR(QString(10, u' ') + QStringLiteral("Calculated Percentage of Calories:"),
                        64) +
            shares(grand_);
        rtf_ += share;
        add(QStringLiteral("TOTAL3"), share);
        rtf_ += QStringLiteral("}\\par\\par }}");
    }

    QString rtf_;
    QList<PrintLine> lines_;
    Totals day_{};
    Totals grand_{};
};

} // namespace

BuiltReport BuildReport(const QList<ReportRow>& rows, const ReportLabels& labels) {
    return Builder().build(rows, labels);
}

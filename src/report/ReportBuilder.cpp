#include "ReportBuilder.h"

#include "MyTools.h"
#include "ReportCells.h"
#include "RtfWriter.h"

namespace {

const char* const kTags[] = {"PREBREAK", "DETAIL1", "DETAIL2", "POSTBREAK1", "POSTBREAK2",
                             "TOTAL1",   "TOTAL2",  "TOTAL3",  "POSTBREAK3"};

const char* const kFixedHeadings[] = {"     Fat", "   Carbs", " Protein",
                                      "Calories", "  Sodium", "    Chol"};

QString dateText(const QDate& d) {
    return d.toString(QStringLiteral("MM/dd/yyyy"));
}

template <typename Totals> QString totalCells(const Totals& totals) {
    QString out;
    out.reserve(80);
    for (const double v : totals)
        AppendFigureCell(out, v, 1, 10);
    return out;
}

template <typename Totals> QString shares(const Totals& t) {
    return CalorieShares(t[RvFat], t[RvCarbohydrate], t[RvProtein], t[RvCalorie]);
}

} // namespace

void PrintLineList::append(const QString& tag, QStringView text) {
    const auto* found = std::find_if(std::begin(kTags), std::end(kTags),
                                     [&](const char* t) { return tag == QLatin1StringView(t); });
    Q_ASSERT(found != std::end(kTags));
    tags_.append(static_cast<quint8>(found - std::begin(kTags)));
    text_ += text;
    ends_.append(text_.size());
}

void PrintLineList::reserve(qsizetype lines, qsizetype characters) {
    text_.reserve(characters);
    ends_.reserve(lines);
    tags_.reserve(lines);
}

QString PrintLineList::tag(qsizetype i) const {
    return QString::fromLatin1(kTags[tags_.at(i)]);
}

QString PrintLineList::text(qsizetype i) const {
    const qsizetype start = i == 0 ? 0 : ends_.at(i - 1);
    return text_.sliced(start, ends_.at(i) - start);
}

QList<PrintLine> PrintLineList::toList() const {
    QList<PrintLine> out;
    out.reserve(size());
    for (qsizetype i = 0; i < size(); ++i)
        out.append((*this)[i]);
    return out;
}

void PrintLineList::squeeze() {
    text_.squeeze();
    ends_.squeeze();
    tags_.squeeze();
}

ReportBuilder::ReportBuilder(const ReportLabels& labels, qsizetype expectedRows,
                             const ReportTargets& targets)
    : labels_(labels), targets_(targets) {
    // About what a row takes in each, with its share of its day's lines.
    out_.rtf.reserve(expectedRows * 200);
    out_.lines.reserve(expectedRows * 2, expectedRows * 180);
}

void ReportBuilder::line(const QString& tag, const QString& text) {
    out_.lines.append(tag, text);
}

void ReportBuilder::headings(const ReportLabels& labels) {
    QString& rtf = out_.rtf;
    rtf += QStringLiteral("{\\b\\f2\\ul Food Name}{\\f2 ") + QString(46, u' ') + u'}';
    rtf += QStringLiteral("{\\f2 }{\\b\\f2\\ul Servings}");
    for (const char* heading : kFixedHeadings)
        rtf += QStringLiteral("{\\f2   }{\\b\\f2\\ul ") + QLatin1String(heading) + u'}';
    for (const QString& label : {labels.other1, labels.other2})
        rtf += QStringLiteral("{\\f2   }{\\b\\f2\\ul ") +
               RtfEscape(gTools.PadL(FirstChars(label, 8), 8)) + u'}';
}

void ReportBuilder::add(const ReportRow& row) {
    QString& rtf = out_.rtf;
    if (!previous_) {
        rtf = QStringLiteral("{\\rtf1\\fs16");
        headings(labels_);
        rtf += QStringLiteral("{\\par\\par\\f2 ");
    }
    if (!previous_ || row.DietDate != *previous_) {
        if (previous_) {
            dayTotals(*previous_);
            rtf += QStringLiteral("}\\par\\par\\par ");
        }
        day_.fill(0);
        rtf +=
            QStringLiteral("{\\f2\\b ") + dateText(row.DietDate) + QStringLiteral("}\\par\\par ");
        line(QStringLiteral("PREBREAK"), dateText(row.DietDate));
        previous_ = row.DietDate;
    }

    QString detail;
    detail.reserve(kReportLineWidth);
    detail += TextCell(row.FoodName, 54);
    detail += u' ';
    AppendFigureCell(detail, row.NumServings, 2, 8);
    for (const auto& v : row.values)
        AppendFigureCell(detail, v, 1, 10);
    AppendRtfEscaped(rtf, detail);
    rtf += QStringLiteral("\\par ");
    line(QStringLiteral("DETAIL1"), detail);

    const QString size = QStringLiteral("   [") + ServingSizeText(row.ServingSize) + u']';
    AppendRtfEscaped(rtf, size);
    rtf += QStringLiteral("\\par ");
    line(QStringLiteral("DETAIL2"), size);

    for (int i = 0; i < RvCount; ++i) {
        day_[i] += row.values[i].value_or(0.0);
        grand_[i] += row.values[i].value_or(0.0);
    }
}

void ReportBuilder::dayTotals(const QDate& date) {
    QString& rtf = out_.rtf;
    rtf += QStringLiteral("\\par {\\f2\\b ");
    const QString totals =
        gTools.PadR(dateText(date) + QStringLiteral(" Totals:"), 63) + totalCells(day_);
    rtf += totals;
    line(QStringLiteral("POSTBREAK1"), totals);
    rtf += QStringLiteral("} \\par {\\f2\\b ");
    // One blank more than the grand line's label, as it always was.
    const QString share =
        gTools.PadR(QString(10, u' ') + QStringLiteral(" Calculated Percentage of Calories:"), 64) +
        shares(day_);
    rtf += share;
    line(QStringLiteral("POSTBREAK2"), share);
    if (AnyTarget(targets_)) {
        QString percents = gTools.PadR(QStringLiteral("% of Daily Target:"), 63);
        for (const QString& percent : TargetPercents(day_, targets_))
            percents += gTools.PadL(percent.isEmpty() ? percent : percent + u'%', 10);
        rtf += QStringLiteral("} \\par {\\f2\\b ") + percents;
        line(QStringLiteral("POSTBREAK3"), percents);
    }
    out_.days.append({date, day_[RvFat], day_[RvCarbohydrate], day_[RvProtein], day_[RvCalorie]});
}

void ReportBuilder::grandTotals() {
    QString& rtf = out_.rtf;
    line(QStringLiteral("TOTAL1"), QString(kReportLineWidth, u' '));
    rtf += QString(kReportLineWidth, u'_') + QStringLiteral("}\\par\\par {\\f2\\b ");

    const QString totals =
        gTools.PadR(QStringLiteral("Report Grand Totals:"), 63) + totalCells(grand_);
    rtf += totals;
    line(QStringLiteral("TOTAL2"), totals);
    rtf += QStringLiteral("} \\par {\\f2\\b ");

    const QString share =
        gTools.PadR(QString(10, u' ') + QStringLiteral("Calculated Percentage of Calories:"), 64) +
        shares(grand_);
    rtf += share;
    line(QStringLiteral("TOTAL3"), share);
    rtf += QStringLiteral("}\\par\\par }}");
}

BuiltReport ReportBuilder::finish() {
    if (!previous_) {
        out_.rtf =
            QStringLiteral("{\\rtf1\\fs16{\\b\\f2 No Data Available for the selected Date Range}}");
        return std::move(out_);
    }
    dayTotals(*previous_);
    out_.rtf += QStringLiteral("}\\par\\par {\\f2\\b ");
    grandTotals();
    out_.lines.squeeze();
    return std::move(out_);
}

BuiltReport BuildReport(const QList<ReportRow>& rows, const ReportLabels& labels,
                        const ReportTargets& targets) {
    ReportBuilder builder(labels, 0, targets);
    for (const ReportRow& row : rows)
        builder.add(row);
    return builder.finish();
}

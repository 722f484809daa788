#pragma once
// The diet activity report: from the rows of a date range, in one pass, the rich text shown on
// screen, the tagged plain lines that printing reads and the calories of each day for the chart,
// so all show the same figures.
#include "CalorieChart.h"
#include "ReportRow.h"

#include <QList>
#include <QString>
#include <array>
#include <optional>

// One printed line; Tag is "PREBREAK", "DETAIL1", "DETAIL2", "POSTBREAK1", "POSTBREAK2",
// "POSTBREAK3" (only with daily targets), "TOTAL1", "TOTAL2" or "TOTAL3".
struct PrintLine {
    QString Tag;
    QString Text;
    friend bool operator==(const PrintLine&, const PrintLine&) = default;
};

// The print lines of a report, kept compact: ten years are about 146,000 lines, so their texts
// share one buffer and their tags are small numbers.
class PrintLineList {
public:
    void append(const QString& tag, QStringView text);
    void reserve(qsizetype lines, qsizetype characters);
    qsizetype size() const { return tags_.size(); }
    bool isEmpty() const { return tags_.isEmpty(); }
    // Line i (from 0), as a record of two strings.
    PrintLine operator[](qsizetype i) const { return {tag(i), text(i)}; }
    QString tag(qsizetype i) const;
    QString text(qsizetype i) const;
    QList<PrintLine> toList() const;
    // Gives back the room reserved for lines to come.
    void squeeze();

private:
    QString text_;
    QList<qsizetype> ends_; // where each line's text ends in text_
    QList<quint8> tags_;
};

struct BuiltReport {
    QString rtf;          // plain ASCII; names and labels are escaped
    PrintLineList lines;  // empty when there are no rows
    QList<ChartDay> days; // each day's totals, in date order
};

// Builds the report one row at a time, so the rows need not be held all at once. Rows come
// ordered by DietDate, FoodName, DietId. Missing values show as empty cells and count as 0 in
// the totals.
class ReportBuilder {
public:
    // `expectedRows` makes room for that many rows at once. With `targets`, each day closes with
    // one line more: its percent of each target.
    explicit ReportBuilder(const ReportLabels& labels, qsizetype expectedRows = 0,
                           const ReportTargets& targets = {});
    void add(const ReportRow& row);
    // The report of the rows added; the builder is spent.
    BuiltReport finish();

private:
    using Totals = std::array<double, RvCount>;
    void line(const QString& tag, const QString& text);
    void headings(const ReportLabels& labels);
    void dayTotals(const QDate& date);
    void grandTotals();

    ReportLabels labels_;
    ReportTargets targets_;
    BuiltReport out_;
    // An optional, not a sentinel date: a row of any date starts the first day.
    std::optional<QDate> previous_;
    Totals day_{};
    Totals grand_{};
};

// The report of `rows`.
BuiltReport BuildReport(const QList<ReportRow>& rows, const ReportLabels& labels,
                        const ReportTargets& targets = {});

// Width of the table's lines, in characters.
constexpr int kReportLineWidth = 143;

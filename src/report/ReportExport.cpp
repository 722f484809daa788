#include "ReportExport.h"

#include "PainterPrinter.h"
#include "ReportCells.h"

#include <QLocale>
#include <QPdfWriter>
#include <QSaveFile>
#include <QStringList>

namespace {

QString csvField(const QString& text) {
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') &&
        !text.contains(u'\r'))
        return text;
    QString quoted = text;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString figure(std::optional<double> v, int decimals) {
    return v ? FixedText(*v, decimals) : QString();
}

QString isoDate(const QDate& d) {
    return d.toString(QStringLiteral("yyyy-MM-dd"));
}

using Totals = std::array<double, RvCount>;

QStringList totalsRecord(const QString& date, const QString& what, const Totals& totals) {
    QStringList record = {date, what, QString(), QString()};
    for (const double v : totals)
        record << FixedText(v, 1);
    return record;
}

} // namespace

QPageSize DefaultPageSize() {
    const bool inches = QLocale().measurementSystem() == QLocale::ImperialUSSystem;
    return QPageSize(inches ? QPageSize::Letter : QPageSize::A4);
}

bool ExportPdf(const PrintLineList& lines, const PrintHeader& header, const QDate& printDate,
               const QString& path, const QPageSize& pageSize, const ChartData* chart) {
    QPdfWriter writer(path);
    writer.setCreator(QStringLiteral("Forkwise"));
    writer.setTitle(ReportTitle(header));
    writer.setPageSize(pageSize);
    // About what a printer cannot print on, so the PDF looks like the paper.
    writer.setPageMargins(QMarginsF(0.25, 0.25, 0.25, 0.25), QPageLayout::Inch);
    PainterPrinter printer(writer);
    return PrintReport(lines, header, printDate, printer, chart);
}

bool ExportCsv(const QList<ReportRow>& rows, const ReportLabels& labels, const QString& path,
               const ReportTargets& targets) {
    QList<QStringList> records;
    records.append({QStringLiteral("Date"), QStringLiteral("Food Name"), QStringLiteral("Servings"),
                    QStringLiteral("Serving Size"), QStringLiteral("Fat"), QStringLiteral("Carbs"),
                    QStringLiteral("Protein"), QStringLiteral("Calories"), QStringLiteral("Sodium"),
                    QStringLiteral("Chol"), labels.other1, labels.other2});
    QList<QPair<QDate, Totals>> days;
    Totals grand{};
    for (const ReportRow& row : rows) {
        QStringList record = {isoDate(row.DietDate), row.FoodName, figure(row.NumServings, 2),
                              row.ServingSize};
        if (days.isEmpty() || days.last().first != row.DietDate)
            days.append({row.DietDate, Totals{}});
        for (int i = 0; i < RvCount; ++i) {
            record << figure(row.values[i], 1);
            const double v = row.values[i].value_or(0.0);
            days.last().second[i] += v;
            grand[i] += v;
        }
        records.append(record);
    }
    for (const auto& [date, totals] : days) {
        records.append(totalsRecord(isoDate(date), QStringLiteral("Day Totals"), totals));
        if (AnyTarget(targets)) {
            QStringList percents = {isoDate(date), QStringLiteral("% of Daily Target"), QString(),
                                    QString()};
            for (const QString& percent : TargetPercents(totals, targets))
                percents << percent;
            records.append(percents);
        }
    }
    records.append(totalsRecord(QString(), QStringLiteral("Report Grand Totals"), grand));

    QString text;
    for (const QStringList& record : records) {
        QStringList fields;
        for (const QString& f : record)
            fields << csvField(f);
        text += fields.join(u',') + QStringLiteral("\r\n");
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(text.toUtf8());
    return file.commit();
}

#pragma once
// Diet rows for the report tests and the expected text of their cells.
#include "ReportBuilder.h"
#include "RtfReader.h"

#include <QString>
#include <ostream>

inline QString sp(int n) {
    return QString(n, u' ');
}

// Figures as the report's columns print them, each right-aligned in `width` characters.
inline QString cells(std::initializer_list<const char*> figures, int width = 10) {
    QString out;
    for (const char* f : figures)
        out += QString::fromLatin1(f).rightJustified(width);
    return out;
}

// A row of eight values in report order: fat, carbohydrate, protein, calories, sodium,
// cholesterol, other 1, other 2.
inline ReportRow row(const QDate& date, const QString& name, std::optional<double> servings,
                     const QString& size, std::array<std::optional<double>, RvCount> values) {
    return ReportRow{date, name, size, servings, values};
}

inline const QDate kJan5{1999, 1, 5};
inline const QDate kJan6{1999, 1, 6};

// Apple and Bread on 5 January 1999.
inline QList<ReportRow> oneDay() {
    return {row(kJan5, QStringLiteral("Apple"), 1, QStringLiteral("1 medium "),
                {0.5, 25, 0.3, 95, 2, 0, 4.4, 0}),
            row(kJan5, QStringLiteral("Bread"), 2, QStringLiteral("  2 slices"),
                {2, 24, 5, 140, 300, 0, 1.5, 0.25})};
}

// A stretch of read-back text in failure messages: its text quoted, then b for bold and u for
// underlined.
inline void PrintTo(const RtfRun& run, std::ostream* out) {
    *out << '"' << run.text.toStdString() << '"' << (run.bold ? " b" : "")
         << (run.underline ? " u" : "") << ' ' << run.pointSize << "pt";
}

#include "NumberText.h"

#include <QLocale>
#include <QRegularExpression>
#include <cmath>

QChar decimalMark() {
    const QString mark = QLocale().decimalPoint();
    return mark.size() == 1 ? mark.front() : QChar(u'.');
}

bool parseNumber(const QString& text, double* value) {
    const QChar mark = decimalMark();
    QString marks = QRegularExpression::escape(QString(mark));
    // "." is the C form, taken too unless this locale groups digits with it.
    if (mark != u'.' && QLocale().groupSeparator() != u".")
        marks += QStringLiteral("\\.");
    // The conversions also take "nan", "inf" and grouped digits; only plain numerals are a
    // person's numbers. The pattern is compiled again only when the locale changes: the food
    // editor reads its boxes at every key.
    thread_local QRegularExpression numeral;
    const QString pattern =
        QStringLiteral(R"(^[+-]?(\d+[%1]?\d*|[%1]\d+)([eE][+-]?\d+)?$)").arg(marks);
    if (numeral.pattern() != pattern)
        numeral.setPattern(pattern);
    QString t = text.trimmed();
    if (!numeral.match(t).hasMatch())
        return false;
    bool ok = false;
    const double v = t.replace(mark, u'.').toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return false;
    if (value)
        *value = v;
    return true;
}

QString decimalText(double value, int decimals) {
    return QString::number(value, 'f', decimals).replace(u'.', decimalMark());
}

QString servingsText(double servings) {
    return QString::number(servings, 'f', QLocale::FloatingPointShortest)
        .replace(u'.', decimalMark());
}

QString nutrientText(const QVariant& value) {
    if (value.isNull())
        return QString();
    bool ok = false;
    const double v = value.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return QString();
    // Rounding works on the decimal digits a reader sees, not on the binary value: 0.15 is held
    // as 0.1499999..., yet it is a tie and rounds to 0.2.
    const QString digits = QString::number(std::fabs(v), 'f', QLocale::FloatingPointShortest);
    const qsizetype point = digits.indexOf(u'.');
    QString result;
    if (point < 0) {
        result = digits;
    } else {
        const QString whole = digits.left(point);
        const QString fraction = digits.mid(point + 1);
        // Tenths as a whole number, then the rest decides the rounding.
        qint64 tenths = whole.toLongLong() * 10 + fraction.at(0).digitValue();
        const QString rest = fraction.mid(1);
        if (!rest.isEmpty()) {
            const int next = rest.at(0).digitValue();
            const bool beyondHalf =
                rest.mid(1).contains(QRegularExpression(QStringLiteral("[1-9]")));
            if (next > 5 || (next == 5 && (beyondHalf || tenths % 2 == 1)))
                ++tenths;
        }
        result = QString::number(tenths / 10);
        if (tenths % 10 != 0)
            result += u'.' + QString::number(tenths % 10);
    }
    if (v < 0 && result != u"0")
        result.prepend(u'-');
    return result;
}

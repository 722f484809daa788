#include "ReportCells.h"

#include "MyTools.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

QString FixedText(double v, int decimals) {
    if (!std::isfinite(v))
        return QString();
    // Rounding works on the shortest decimal form, the digits a person would see: 0.15 is held
    // as 0.1499..., yet it reads as a half and goes up.
    const QString digits = QString::number(std::fabs(v), 'f', QLocale::FloatingPointShortest);
    const qsizetype point = digits.indexOf(u'.');
    const QString whole = point < 0 ? digits : digits.left(point);
    QString fraction = point < 0 ? QString() : digits.mid(point + 1);
    const bool up = fraction.size() > decimals && fraction.at(decimals) >= u'5';
    QString all = whole + fraction.left(decimals).leftJustified(decimals, u'0');
    if (up) {
        qsizetype i = all.size() - 1;
        for (; i >= 0 && all[i] == u'9'; --i)
            all[i] = u'0';
        if (i < 0)
            all.prepend(u'1');
        else
            all[i] = QChar(all[i].unicode() + 1);
    }
    QString result = all.left(all.size() - decimals);
    if (decimals > 0)
        result += u'.' + all.right(decimals);
    const bool nonZero = std::any_of(all.cbegin(), all.cend(), [](QChar c) { return c != u'0'; });
    if (v < 0 && nonZero)
        result.prepend(u'-');
    return result;
}

namespace {

QString fitted(const QString& text, int width) {
    if (text.isEmpty() || text.size() > width)
        return QString(width, u'#');
    return gTools.PadL(text, width);
}

QString withoutControls(QString text) {
    for (QChar& c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = u' ';
    return text;
}

} // namespace

QString FirstChars(const QString& text, int n) {
    // One UTF-16 unit fewer when the last would be the first half of a pair.
    if (text.size() > n && n > 0 && text.at(n - 1).isHighSurrogate())
        --n;
    return withoutControls(text.left(n));
}

QString FigureCell(std::optional<double> v, int decimals, int width) {
    if (!v)
        return QString(width, u' ');
    return fitted(FixedText(*v, decimals), width);
}

QString TextCell(const QString& text, int width) {
    return gTools.PadR(FirstChars(text, width), width);
}

QString ServingSizeText(const QString& servingSize) {
    const QString s = FirstChars(servingSize, 50);
    qsizetype first = 0;
    while (first < s.size() && s.at(first) == u' ')
        ++first;
    qsizetype last = s.size();
    while (last > first && s.at(last - 1) == u' ')
        --last;
    return s.mid(first, last - first);
}

std::array<double, 3> CalorieShareValues(double fat, double carbohydrate, double protein,
                                         double calories) {
    const double grams = fat * 9 + carbohydrate * 4 + protein * 4;
    const double k = grams == 0 ? 1.0 : calories / grams;
    if (calories == 0)
        return {0, 0, 0};
    return {fat * 9 * k / calories, carbohydrate * 4 * k / calories, protein * 4 * k / calories};
}

QString CalorieShares(double fat, double carbohydrate, double protein, double calories) {
    QString out;
    for (const double part : CalorieShareValues(fat, carbohydrate, protein, calories)) {
        const QString share = calories == 0 ? QStringLiteral("0.0") : FixedText(part * 100, 1);
        out += share.isEmpty() ? QString(10, u'#') : fitted(share + u'%', 10);
    }
    return out;
}

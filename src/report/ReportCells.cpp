#include "ReportCells.h"

#include "MyTools.h"

#include <QLocale>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace {

// v rounded to `decimals` places, without its sign, into buf (room for 420 characters); the
// length written, or 0 for infinity and NaN. `negative` tells whether a minus belongs in front.
int fixedChars(double v, int decimals, char* buf, bool* negative) {
    *negative = false;
    if (!std::isfinite(v))
        return 0;
    // Rounding works on the shortest decimal form, the digits a person would see: 0.15 is held
    // as 0.1499..., yet it reads as a half and goes up.
    char digits[400];
    const char* end =
        std::to_chars(digits, digits + sizeof digits, std::fabs(v), std::chars_format::fixed).ptr;
    const char* point = std::find(static_cast<const char*>(digits), end, '.');
    const char* fraction = point == end ? end : point + 1;
    // The whole digits, then exactly `decimals` digits of the fraction; one spare in front for a
    // carry.
    char* all = buf + 1;
    int n = 0;
    for (const char* c = digits; c < point; ++c)
        all[n++] = *c;
    for (int i = 0; i < decimals; ++i)
        all[n++] = fraction + i < end ? fraction[i] : '0';
    if (fraction + decimals < end && fraction[decimals] >= '5') {
        int i = n - 1;
        for (; i >= 0 && all[i] == '9'; --i)
            all[i] = '0';
        if (i < 0) {
            --all;
            all[0] = '1';
            ++n;
        } else {
            ++all[i];
        }
    }
    *negative = v < 0 && std::any_of(all, all + n, [](char c) { return c != '0'; });
    // The point goes in front of the last `decimals` digits.
    if (decimals > 0) {
        std::memmove(all + n - decimals + 1, all + n - decimals, size_t(decimals));
        all[n - decimals] = '.';
        ++n;
    }
    if (all != buf)
        std::memmove(buf, all, size_t(n));
    return n;
}

} // namespace

QString fixedText(double v, int decimals) {
    char buf[420];
    bool negative = false;
    const int n = fixedChars(v, decimals, buf, &negative);
    if (n == 0)
        return QString();
    return (negative ? QStringLiteral("-") : QString()) + QLatin1StringView(buf, n);
}

void appendFigureCell(QString& out, std::optional<double> v, int decimals, int width) {
    char buf[420];
    bool negative = false;
    const int n = v ? fixedChars(*v, decimals, buf, &negative) : -1;
    const int length = n + (negative ? 1 : 0);
    if (n < 0) {
        out.resize(out.size() + width, u' ');
    } else if (n == 0 || length > width) {
        out.resize(out.size() + width, u'#');
    } else {
        out.resize(out.size() + width - length, u' ');
        if (negative)
            out += u'-';
        out += QLatin1StringView(buf, n);
    }
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

QString firstChars(const QString& text, int n) {
    // One UTF-16 unit fewer when the last would be the first half of a pair.
    if (text.size() > n && n > 0 && text.at(n - 1).isHighSurrogate())
        --n;
    return withoutControls(text.left(n));
}

QString figureCell(std::optional<double> v, int decimals, int width) {
    QString out;
    appendFigureCell(out, v, decimals, width);
    return out;
}

QString textCell(const QString& text, int width) {
    return gTools.PadR(firstChars(text, width), width);
}

QString servingSizeText(const QString& servingSize) {
    const QString s = firstChars(servingSize, 50);
    qsizetype first = 0;
    while (first < s.size() && s.at(first) == u' ')
        ++first;
    qsizetype last = s.size();
    while (last > first && s.at(last - 1) == u' ')
        --last;
    return s.mid(first, last - first);
}

std::array<double, 3> calorieShareValues(double fat, double carbohydrate, double protein,
                                         double calories) {
    const double grams = fat * 9 + carbohydrate * 4 + protein * 4;
    const double k = grams == 0 ? 1.0 : calories / grams;
    if (calories == 0)
        return {0, 0, 0};
    return {fat * 9 * k / calories, carbohydrate * 4 * k / calories, protein * 4 * k / calories};
}

QString calorieShares(double fat, double carbohydrate, double protein, double calories) {
    QString out;
    for (const double part : calorieShareValues(fat, carbohydrate, protein, calories)) {
        const QString share = calories == 0 ? QStringLiteral("0.0") : fixedText(part * 100, 1);
        out += share.isEmpty() ? QString(10, u'#') : fitted(share + u'%', 10);
    }
    return out;
}

// libFuzzer target: any text typed as a number, under the locale the first byte picks: C, one that
// groups digits with a comma, one that writes decimals with it. An accepted number is finite, was
// never written with the locale's group separator, shows without "nan" or "inf", and a number of
// servings reads back exactly from its shown form.
#include "NumberText.h"

#include <QLocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    static const QLocale locales[] = {QLocale::c(),
                                      QLocale(QLocale::English, QLocale::UnitedStates),
                                      QLocale(QLocale::German, QLocale::Germany)};
    const QLocale& locale = locales[data[0] % 3];
    QLocale::setDefault(locale);
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    double value = 0;
    if (!parseNumber(text, &value))
        return 0;
    if (!std::isfinite(value) || text.contains(locale.groupSeparator()))
        std::abort();
    const QString shown = nutrientText(value);
    if (shown.contains(QStringLiteral("nan")) || shown.contains(QStringLiteral("inf")))
        std::abort();
    double back = 0;
    if (!parseNumber(servingsText(value), &back) || back != value)
        std::abort();
    return 0;
}

// libFuzzer target: any text typed as a number of servings. An accepted number is finite, shows
// without "nan" or "inf", and a number of servings reads back exactly from its shown form.
#include "NumberText.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    double value = 0;
    if (!ParseNumber(text, &value))
        return 0;
    if (!std::isfinite(value))
        std::abort();
    const QString shown = NutrientText(value);
    if (shown.contains(QStringLiteral("nan")) || shown.contains(QStringLiteral("inf")))
        std::abort();
    double back = 0;
    if (!ParseNumber(ServingsText(value), &back) || back != value)
        std::abort();
    return 0;
}

#pragma once
// Numbers as people type them and as the program shows them.
#include <QString>
#include <QVariant>

// The mark between whole and fraction in the numbers the boxes show: this locale's decimal
// point, or "." where the locale's is more than one character.
QChar decimalMark();

// Reads a finite number as a person types it: an optional sign, digits with a decimal mark (this
// locale's, or "." where the locale does not group digits with it), an optional exponent, blanks
// around it. Anything else is refused: the empty text, "nan", "inf", numbers too large for a
// double, and above all digits grouped in thousands, so that "1,000" is never read as a thousand
// where a comma may as well have meant a decimal mark.
bool parseNumber(const QString& text, double* value);

// `value` with `decimals` fixed decimals and this locale's decimal mark, as the boxes show it.
QString decimalText(double value, int decimals);

// A nutrient value as the program shows it: the shortest decimal form of the value rounded to
// one decimal, halves to the even digit, without trailing zeros (12 -> "12", 0.15 -> "0.2",
// 0.45 -> "0.4", 12.25 -> "12.2"). A null or non-numeric value shows as the empty text.
QString nutrientText(const QVariant& value);

// The numbers of servings a diet entry may have: fewer is a slip of the finger, more a unit
// mistaken for servings.
inline constexpr double kLeastServings = 0.001;
inline constexpr double kMostServings = 10000;
// The largest nutrient value of one serving a food may have (grams, kilocalories or milligrams).
inline constexpr double kMostNutrient = 100000;

// A number of servings shown so that parseNumber reads back exactly the same double.
QString servingsText(double servings);

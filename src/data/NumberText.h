#pragma once
// Numbers as people type them and as the program shows them.
#include <QString>
#include <QVariant>

// Reads a finite number as a person types it: an optional sign, digits with a decimal point
// (the C form 1.5 or this locale's 1,5), an optional exponent, blanks around it. Anything else,
// the empty text, "nan", "inf" and numbers too large for a double are refused.
bool ParseNumber(const QString& text, double* value);

// A nutrient value as the program shows it: the shortest decimal form of the value rounded to
// one decimal, halves to the even digit, without trailing zeros (12 -> "12", 0.15 -> "0.2",
// 0.45 -> "0.4", 12.25 -> "12.2"). A null or non-numeric value shows as the empty text.
QString NutrientText(const QVariant& value);

// A number of servings shown so that reading it back gives exactly the same double.
QString ServingsText(double servings);

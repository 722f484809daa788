#pragma once
// The cells of the report's fixed-width lines: figures, texts and calorie shares.
#include <QString>
#include <array>
#include <optional>

// v rounded to `decimals` places as the "0.0" and "0.00" formats write it: at least one digit
// before the point, halves away from zero on the decimal digits a reader sees (0.15 -> "0.2"),
// a minus sign only when something non-zero is left. Empty for infinity and NaN.
QString fixedText(double v, int decimals);

// A figure right-aligned in `width`: blanks when the value is missing, and '#' across the whole
// cell when it is not finite or its text does not fit, so a cut figure is never shown.
QString figureCell(std::optional<double> v, int decimals, int width);
// The same cell appended to `out`.
void appendFigureCell(QString& out, std::optional<double> v, int decimals, int width);

// The first n characters of text, control characters shown as blanks, never cutting a character
// outside the BMP in half.
QString firstChars(const QString& text, int n);

// Text left-aligned in `width` like PadR, cut as firstChars cuts.
QString textCell(const QString& text, int width);

// The serving size as the report shows it: its first 50 characters, blanks trimmed.
QString servingSizeText(const QString& servingSize);

// The fat, carbohydrate and protein shares of the calories computed from the grams (9, 4 and 4
// per gram), as fractions of the calories: all 0 when the calories are 0 or the grams are.
std::array<double, 3> calorieShareValues(double fat, double carbohydrate, double protein,
                                         double calories);

// Those shares as "0.0%", each right-aligned in 10 characters.
QString calorieShares(double fat, double carbohydrate, double protein, double calories);

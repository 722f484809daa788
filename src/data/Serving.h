#pragma once
// Serving-size arithmetic: rescaling nutrient values to another USDA measure, and positioning
// the measure and group lists' result sets on the row a list entry stands for.
#include <QString>
#include <array>

// The eight nutrient columns in the order they are rescaled.
inline constexpr std::array<const char*, 8> kNutrientColumns = {
    "Fat", "Protein", "Carbohydrate", "Calorie", "Sodium", "Cholesterol", "Other1", "Other2"};

// Rounds to the nearest whole number, ties to even (28.5 -> 28, 29.5 -> 30). Gram weights are
// no longer rounded; this goes once the diet windows stop calling it.
long RoundHalfEven(double value);
// Rounds to `decimals` places, ties to even.
double RoundHalfEven(double value, int decimals);
// New gram weight over the stored one; exactly 1 when either is 0.
double GramWeightRatio(double storedGramWeight, double newGramWeight);

// Rewrites the current (edited) row of rscmdFoods for measure m of g grams and serving text s.
// g is the measure's exact weight: rounding it would misstate every value scaled by it.
void RescaleFood(long m, double g, const QString& s);
void FindMeasure(int index, long measureNo);
void FindAvailGroup(int index, long groupKey);

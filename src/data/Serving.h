#pragma once
// Serving-size arithmetic: rescaling nutrient values to another USDA measure, and positioning
// the measure and group lists' result sets on the row a list entry stands for.
#include <QString>

// New gram weight over the stored one; exactly 1 when either is 0.
double GramWeightRatio(double storedGramWeight, double newGramWeight);

// Rewrites the current (edited) row of rscmdFoods for measure m of g grams and serving text s.
// g is the measure's exact weight: rounding it would misstate every value scaled by it.
void RescaleFood(long m, double g, const QString& s);
void FindMeasure(int index, long measureNo);
void FindAvailGroup(int index, long groupKey);

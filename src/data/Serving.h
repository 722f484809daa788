#pragma once
// Serving-size arithmetic: rescaling nutrient values to another USDA measure, and positioning
// the measure and group lists' result sets on the row a list entry stands for.
#include <QString>

// New gram weight over the stored one; exactly 1 when either is 0.
double gramWeightRatio(double storedGramWeight, double newGramWeight);

// Rewrites the current (edited) row of rscmdFoods for measure m of g grams and serving text s.
// g is the measure's exact weight: rounding it would misstate every value scaled by it.
void RescaleFood(long m, double g, const QString& s);
void FindMeasure(int index, long measureNo);
// The list position of measure measureNo in rscmdMeasures (0 when it is not there), and of group
// g in rscmdAvailGroups; each set is left on its first row.
long FindMeasureIndex(long measureNo);
long GroupListIndex(long g);
void FindAvailGroup(int index, long groupKey);

#pragma once
// Draws the chart of calories per day with QPainter, on the screen or on a page. The parts of a
// bar are told apart without colour: fat dark, carbohydrate hatched, protein light grey, and the
// calories the grams do not explain left white; a legend names them, and a dashed line marks the
// range's average.
#include "CalorieChart.h"

#include <QRectF>

class QPainter;

// Draws `data` into `area` in the painter's font. `unit` is the size of one screen pixel in the
// painter's coordinates (1 on the screen, 15 on a page measured in twips): lines, gaps and the
// narrowest bar (3 pixels) are measured in it.
void paintCalorieChart(QPainter& painter, const QRectF& area, const ChartData& data,
                       double unit = 1);

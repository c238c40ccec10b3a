#pragma once
// The reference pictures shown on forms (a chart, a table), created by the kind name a
// form definition gives; the view repaints every picture after every handler. (The
// drawing of what a form computed is the form panel's DrawingView.)

#include <QWidget>
#include <string>

namespace tervalen::view {

// Gives a widget the white background of a picture box.
void fillWhite(QWidget* widget);

// A widget showing the picture of that kind, or an empty white box of the given size
// for a kind there is no picture of.
QWidget* createPicture(const std::string& kind, int width, int height, QWidget* parent);

// The reference pictures, each drawn in a unit of its own.
QWidget* newCoefficientChart(QWidget* parent);  // "coefficient-chart"
QWidget* newSoilTable(QWidget* parent);         // "soil-table"

}  // namespace tervalen::view

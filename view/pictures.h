#pragma once
// Pictures shown on forms (a chart, a reference table, drawings of what a form computed),
// created by kind name. A factory receives the form: a picture that draws from it reads
// the form's state or its last press in paintEvent, and the view repaints every picture
// after every handler.

#include <QWidget>
#include <functional>
#include <string>

#include "forms/form.h"

namespace tervalen::view {

using PictureFactory = std::function<QWidget*(const forms::Form& form, QWidget* parent)>;

// Gives a widget the white background of a picture box.
void fillWhite(QWidget* widget);

// Registers the factory for a picture kind; returns true so it can seed a static.
bool registerPicture(const std::string& kind, PictureFactory factory);
// A widget showing the picture of that kind, or an empty white box of the given size
// for a kind nobody registered.
QWidget* createPicture(const std::string& kind, const forms::Form& form, int width, int height,
                       QWidget* parent);

}  // namespace tervalen::view

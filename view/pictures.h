#pragma once
// Fixed pictures shown on forms (a chart, a reference table), created by kind name.

#include <QWidget>
#include <functional>
#include <string>

namespace tervalen::view {

using PictureFactory = std::function<QWidget*(QWidget* parent)>;

// Gives a widget the white background of a picture box.
void fillWhite(QWidget* widget);

// Registers the factory for a picture kind; returns true so it can seed a static.
bool registerPicture(const std::string& kind, PictureFactory factory);
// A widget showing the picture of that kind, or an empty white box of the given size
// for a kind nobody registered.
QWidget* createPicture(const std::string& kind, int width, int height, QWidget* parent);

}  // namespace tervalen::view

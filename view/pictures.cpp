#include "view/pictures.h"

#include <map>

namespace tervalen::view {
namespace {

std::map<std::string, PictureFactory>& factories() {
    static std::map<std::string, PictureFactory> f;
    return f;
}

}  // namespace

void fillWhite(QWidget* widget) {
    widget->setAutoFillBackground(true);
    QPalette p = widget->palette();
    p.setColor(QPalette::Window, Qt::white);
    widget->setPalette(p);
}

bool registerPicture(const std::string& kind, PictureFactory factory) {
    factories()[kind] = std::move(factory);
    return true;
}

QWidget* createPicture(const std::string& kind, const forms::Form& form, int width, int height,
                       QWidget* parent) {
    const auto it = factories().find(kind);
    QWidget* w = it != factories().end() ? it->second(form, parent) : new QWidget(parent);
    if (it == factories().end()) fillWhite(w);
    w->setFixedSize(width, height);
    return w;
}

}  // namespace tervalen::view

#include "view/pictures.h"

#include <map>

namespace tervalen::view {
namespace {

std::map<std::string, PictureFactory>& factories() {
    static std::map<std::string, PictureFactory> f;
    return f;
}

}  // namespace

bool registerPicture(const std::string& kind, PictureFactory factory) {
    factories()[kind] = std::move(factory);
    return true;
}

QWidget* createPicture(const std::string& kind, int width, int height, QWidget* parent) {
    const auto it = factories().find(kind);
    QWidget* w = it != factories().end() ? it->second(parent) : new QWidget(parent);
    if (it == factories().end()) {
        w->setAutoFillBackground(true);
        QPalette p = w->palette();
        p.setColor(QPalette::Window, Qt::white);
        w->setPalette(p);
    }
    w->setFixedSize(width, height);
    return w;
}

}  // namespace tervalen::view

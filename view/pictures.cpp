#include "view/pictures.h"

#include <algorithm>
#include <iterator>
#include <string_view>
#include <utility>

namespace tervalen::view {

void fillWhite(QWidget* widget) {
    widget->setAutoFillBackground(true);
    QPalette p = widget->palette();
    p.setColor(QPalette::Window, Qt::white);
    widget->setPalette(p);
}

QWidget* createPicture(const std::string& kind, int width, int height, QWidget* parent) {
    // Looked up when a form opens: nothing about pictures runs at start-up.
    static constexpr std::pair<std::string_view, QWidget* (*)(QWidget*)> kKinds[] = {
        {"coefficient-chart", newCoefficientChart},
        {"soil-table", newSoilTable},
    };
    const auto it = std::find_if(std::begin(kKinds), std::end(kKinds),
                                 [&kind](const auto& k) { return k.first == kind; });
    QWidget* w = it != std::end(kKinds) ? it->second(parent) : new QWidget(parent);
    if (it == std::end(kKinds)) fillWhite(w);
    w->setFixedSize(width, height);
    return w;
}

}  // namespace tervalen::view

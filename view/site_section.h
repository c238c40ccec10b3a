#pragma once
// A section of the site along a line drawn on the plan: the protection surface S along it
// and the objects it cuts or passes (buildings, rods and conductor or wire crossings
// within half a metre), to scale, heights and distances in metres. S is found off the
// GUI thread; the dialog says so until it is there.

#include <QDialog>
#include <QLabel>
#include <memory>
#include <vector>

#include "calc/sphere/site.h"

namespace tervalen::view {

// What the section shows, found from the site along the line from a to b.
struct SectionData {
    double length = 0;
    std::vector<double> s;  // S at evenly spaced points, a first
    struct Span {
        double from = 0, to = 0, base = 0, roof = 0;  // along the line
        std::string name;
    };
    std::vector<Span> buildings;
    struct Post {
        double at = 0, base = 0, tip = 0;
    };
    std::vector<Post> rods;
    struct Crossing {
        double at = 0, z = 0;
        bool wire = false;
    };
    std::vector<Crossing> crossings;
    QString problem;
};
SectionData sectionOf(const sphere::Site& site, sphere::Point2 a, sphere::Point2 b, int samples);

class SiteSectionDialog : public QDialog {
    Q_OBJECT
public:
    SiteSectionDialog(const sphere::Site& site, sphere::Point2 a, sphere::Point2 b,
                      QWidget* parent = nullptr);
    const SectionData* data() const { return m_data.get(); }

signals:
    void ready();

protected:
    void paintEvent(QPaintEvent*) override;

private:
    std::shared_ptr<SectionData> m_data;
    bool m_ready = false;
    sphere::Point2 m_a, m_b;
};

}  // namespace tervalen::view

#pragma once
// The rolling-sphere results a 屋面/总平面防雷校核 window shows, found off the GUI
// thread: a coarse map of S over each roof while the user drags (quick, to the step
// asked), and the exact roofs' check and protected regions once an edit is final. Each
// request carries a generation; a result older than the one shown is dropped, and an
// exact result is shown only for the site as it is now. At most one job of each kind
// runs at a time: a request made meanwhile waits, and a newer one replaces it.

#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "calc/sphere/engine.h"
#include "view/site_model.h"

namespace tervalen::view {

struct SiteResult {
    std::uint64_t generation = 0;
    bool exact = false;
    double step = 0;                            // the coarse map's step (coarse only)
    std::vector<sphere::SurfaceGrid> roofMaps;  // one per building, over its plan box (coarse)
    std::vector<sphere::RoofCheck> roofs;       // exact
    std::vector<sphere::LevelRegion> levels;    // exact, one per level asked
    QString problem;                            // the engine refused the site
    double seconds = 0;                         // the time the job took
};

// The coarse map of each roof: S on a grid of `step` metres over the building's plan box.
std::vector<sphere::SurfaceGrid> roofMaps(const sphere::Engine& engine, double step);
// The work of one job, on the calling thread.
SiteResult computeSite(const SiteState& state, bool exact, double coarseStep);

class SiteComputer : public QObject {
    Q_OBJECT
public:
    explicit SiteComputer(QObject* parent = nullptr);
    ~SiteComputer() override;

    // The site changed: results for earlier generations are stale from now on.
    std::uint64_t advance() { return ++m_generation; }
    std::uint64_t generation() const { return m_generation; }
    // Asks for the results of the state as of the current generation.
    void request(const SiteState& state, bool exact, double coarseStep);
    // Whether an exact result for the current generation is still to come.
    bool exactPending() const;

signals:
    void ready(const tervalen::view::SiteResult& result);

private:
    struct Lane {
        bool running = false;
        std::optional<SiteState> pending;
        std::uint64_t pendingGeneration = 0;
        double step = 0;
    };
    struct Mailbox;
    void start(bool exact, SiteState state, std::uint64_t generation, double step);
    void finished(SiteResult result);

    Lane m_coarse, m_exact;
    std::uint64_t m_generation = 0;
    std::uint64_t m_shown = 0;  // the generation of the last result passed on
    bool m_shownExact = false;  // and whether it was exact
    std::uint64_t m_lastExactAsked = 0;
    std::shared_ptr<Mailbox> m_mailbox;
};

}  // namespace tervalen::view

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

// The coarse map of each roof: squares of `step` metres (or a little less, to fit the
// roof's plan box) centred on the grid's nodes. A node's value is a height no sphere
// reaches below anywhere in its square: the roof's height plus kProvedMargin where the
// engine proved S that high over the whole square, else 0. So a square is shown protected
// (more than 1 mm over the roof) only where it is proved so.
std::vector<sphere::SurfaceGrid> roofMaps(const sphere::Engine& engine, double step);
inline constexpr double kProvedMargin = 0.002;

// The coarse maps of a site as it is edited, each frame's work reusing the last's. Between
// two frames a few objects change (the one dragged); the site without them (the rest)
// stays the same through a drag. Since every sphere admissible among all the objects is
// admissible among the rest, S over the whole site is never below S over the rest: a square
// proved over the rest stays proved wherever the dragged objects go, and that proof is
// made once a drag. A square not proved keeps a sphere that refutes it, admissible among
// the rest: while that sphere keeps clear of the dragged objects, the square stays
// unprotected; and a square farther than 2 Hr in plan from the dragged objects (less for a
// low one) has S as over the rest. Only the other squares are proved again each frame,
// with fewer cells than at rest: one they do not settle is shown unprotected.
class DragMaps {
public:
    // The roofs' maps of `site` at `step`, laid out and valued as roofMaps' (a square
    // proved at rest may be left unproved by a frame's quicker proof), from what the last
    // update kept: made afresh when the radius, the step or how many objects of a kind
    // there are changed, or more than 8 objects did. Throws as the engine does for a
    // site it refuses.
    std::vector<sphere::SurfaceGrid> update(const sphere::Site& site, double step);
    // The squares proved or refuted afresh by the last update (out of `squares()`).
    std::size_t provedLast() const { return m_provedLast; }
    std::size_t squares() const;

private:
    struct Roof {
        sphere::SurfaceGrid grid;  // the nodes (their values are made on the way out)
        std::vector<char> proved;
        std::vector<std::optional<sphere::Point3>> witness;
    };
    struct Moved {
        std::vector<std::size_t> rods, conductors, wires, buildings;
        bool operator==(const Moved&) const = default;
        std::size_t size() const {
            return rods.size() + conductors.size() + wires.size() + buildings.size();
        }
    };
    void cold(const sphere::Site& site, double step);

    std::optional<sphere::Site> m_site;  // the site of the last frame
    double m_step = 0;
    std::vector<Roof> m_roofs;
    // The rest of the drag under way: what was moved, and each roof's squares over the
    // rest (none for a moved building).
    std::optional<Moved> m_moved;
    std::vector<Roof> m_rest;
    std::size_t m_provedLast = 0;
};

// The work of one job, on the calling thread; a coarse one with `drag` reuses its maps.
SiteResult computeSite(const SiteState& state, bool exact, double coarseStep,
                       DragMaps* drag = nullptr);

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
    void finished(const SiteResult& result);

    Lane m_coarse, m_exact;
    std::shared_ptr<DragMaps> m_drag;  // the coarse lane's, one job at a time
    std::uint64_t m_generation = 0;
    std::uint64_t m_shown = 0;  // the generation of the last result passed on
    bool m_shownExact = false;  // and whether it was exact
    std::uint64_t m_lastExactAsked = 0;
    std::shared_ptr<Mailbox> m_mailbox;
};

}  // namespace tervalen::view

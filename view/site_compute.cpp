#include "view/site_compute.h"

#include <QMetaObject>
#include <QPointer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <initializer_list>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "calc/sphere/parallel.h"

namespace tervalen::view {

namespace {

// A roof's squares: nodes at their centres, so that a roof narrower than the step still
// gets one; square, the longer side of the cells that fit the plan box, centred on it.
sphere::SurfaceGrid roofNodes(const sphere::Building& b, double step) {
    sphere::Box box{b.outline.front().x, b.outline.front().y, b.outline.front().x,
                    b.outline.front().y};
    for (const sphere::Point2& p : b.outline) {
        box.minX = std::min(box.minX, p.x), box.maxX = std::max(box.maxX, p.x);
        box.minY = std::min(box.minY, p.y), box.maxY = std::max(box.maxY, p.y);
    }
    const double w = box.maxX - box.minX, h = box.maxY - box.minY;
    const double nx = std::max(1.0, std::ceil(w / step)), ny = std::max(1.0, std::ceil(h / step));
    const double s = std::max({w / nx, h / ny, 1e-3});
    const double cx = (box.minX + box.maxX) / 2, cy = (box.minY + box.maxY) / 2;
    const int mx = std::max(1, int(std::ceil(w / s - 1e-9))),
              my = std::max(1, int(std::ceil(h / s - 1e-9)));
    sphere::SurfaceGrid g;
    g.step = s, g.nx = mx, g.ny = my;
    g.box = {cx - (mx - 1) * s / 2, cy - (my - 1) * s / 2, cx + (mx - 1) * s / 2,
             cy + (my - 1) * s / 2};
    g.s.assign(std::size_t(mx) * std::size_t(my), 0);
    return g;
}

sphere::Point2 nodeOf(const sphere::SurfaceGrid& g, std::size_t k) {
    const std::size_t column = k % std::size_t(g.nx), row = k / std::size_t(g.nx);
    return {g.box.minX + double(column) * g.step, g.box.minY + double(row) * g.step};
}

// An object's plan box and its highest point.
struct Extent {
    sphere::Box box;
    double top = 0;
};

// Whether an object within `e` leaves S over the square of node k as it is, for any level
// up to Hr above the ground: every sphere centre that may reach the square (within Hr of
// it in plan, at Hr or higher) is out of the object's reach. A centre at height c ≥ Hr is
// within Hr of a point of height top < Hr only within √(Hr² − (Hr − top)²) of it in plan.
bool beyondReach(const sphere::SurfaceGrid& g, std::size_t k, const Extent& e, double hr) {
    const sphere::Point2 p = nodeOf(g, k);
    const double half = g.step / 2;
    const double ex = std::max({0.0, e.box.minX - (p.x + half), (p.x - half) - e.box.maxX});
    const double ey = std::max({0.0, e.box.minY - (p.y + half), (p.y - half) - e.box.maxY});
    const double below = std::max(0.0, hr - e.top);
    const double reach = hr + std::sqrt(std::max(0.0, hr * hr - below * below));
    return ex * ex + ey * ey > reach * reach * (1 + 1e-9) + 1e-6;
}

sphere::Box boxOf(std::initializer_list<sphere::Point2> points) {
    sphere::Box b{INFINITY, INFINITY, -INFINITY, -INFINITY};
    for (const sphere::Point2& p : points)
        b = {std::min(b.minX, p.x), std::min(b.minY, p.y), std::max(b.maxX, p.x),
             std::max(b.maxY, p.y)};
    return b;
}

bool same(const sphere::Point3& a, const sphere::Point3& b) {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}
bool same(const sphere::Rod& a, const sphere::Rod& b) {
    return a.x == b.x && a.y == b.y && a.base == b.base && a.tip == b.tip;
}
bool same(const sphere::Conductor& a, const sphere::Conductor& b) {
    return same(a.from, b.from) && same(a.to, b.to);
}
bool same(const sphere::Wire& a, const sphere::Wire& b) {
    return same(a.from, b.from) && same(a.to, b.to) && a.sag == b.sag;
}
bool same(const sphere::Building& a, const sphere::Building& b) {
    if (a.base != b.base || a.roof != b.roof || a.outline.size() != b.outline.size()) return false;
    for (std::size_t i = 0; i < a.outline.size(); ++i)
        if (a.outline[i].x != b.outline[i].x || a.outline[i].y != b.outline[i].y) return false;
    return true;
}

// The indices whose objects differ; false when the lists differ in length.
template <class T>
bool changed(const std::vector<T>& a, const std::vector<T>& b, std::vector<std::size_t>& out) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!same(a[i], b[i])) out.push_back(i);
    return true;
}

template <class T>
std::vector<T> without(const std::vector<T>& all, const std::vector<std::size_t>& drop) {
    std::vector<T> out;
    for (std::size_t i = 0; i < all.size(); ++i)
        if (!std::binary_search(drop.begin(), drop.end(), i)) out.push_back(all[i]);
    return out;
}

template <class T>
std::vector<T> only(const std::vector<T>& all, const std::vector<std::size_t>& keep) {
    std::vector<T> out;
    out.reserve(keep.size());
    for (const std::size_t i : keep) out.push_back(all[i]);
    return out;
}

// More objects moved at once than this: the maps are made afresh.
constexpr std::size_t kMostMoved = 8;
// The cells of centres a frame's own proof of a square may take (the engine's default is
// sixteen times as many): a square they do not settle is shown unprotected until the
// pointer stops.
constexpr long kFrameCells = 1 << 10;

}  // namespace

std::vector<sphere::SurfaceGrid> roofMaps(const sphere::Engine& engine, double step) {
    std::vector<sphere::SurfaceGrid> maps;
    std::vector<std::pair<std::size_t, std::size_t>> squares;
    for (const sphere::Building& b : engine.buildings()) {
        maps.push_back(roofNodes(b, step));
        for (std::size_t k = 0; k < maps.back().s.size(); ++k)
            squares.push_back({maps.size() - 1, k});
    }
    sphere::parallelFor(squares.size(), [&](std::size_t n) {
        const auto [i, k] = squares[n];
        sphere::SurfaceGrid& g = maps[i];
        const double z = engine.buildings()[i].roof + kProvedMargin;
        g.s[k] = engine.provesAtLeast(nodeOf(g, k), g.step / 2, z) ? z : 0;
    });
    return maps;
}

std::size_t DragMaps::squares() const {
    std::size_t n = 0;
    for (const Roof& r : m_roofs) n += r.grid.s.size();
    return n;
}

void DragMaps::cold(const sphere::Site& site, double step) {
    const sphere::Engine engine(site);
    std::vector<Roof> roofs;
    std::vector<std::pair<std::size_t, std::size_t>> squares;
    for (const sphere::Building& b : site.buildings) {
        Roof r;
        r.grid = roofNodes(b, step);
        r.proved.assign(r.grid.s.size(), 0);
        r.witness.assign(r.grid.s.size(), std::nullopt);
        for (std::size_t k = 0; k < r.grid.s.size(); ++k) squares.push_back({roofs.size(), k});
        roofs.push_back(std::move(r));
    }
    sphere::parallelFor(squares.size(), [&](std::size_t n) {
        const auto [i, k] = squares[n];
        Roof& r = roofs[i];
        const sphere::Proof proof = engine.proveAtLeast(nodeOf(r.grid, k), r.grid.step / 2,
                                                        site.buildings[i].roof + kProvedMargin);
        r.proved[k] = proof.proved;
        r.witness[k] = proof.witness;
    });
    m_provedLast = squares.size();
    m_roofs = std::move(roofs);
    m_moved.reset();
    m_rest.clear();
}

std::vector<sphere::SurfaceGrid> DragMaps::update(const sphere::Site& site, double step) {
    Moved moved;
    const bool comparable = m_site && m_step == step && m_site->hr == site.hr &&
                            changed(m_site->rods, site.rods, moved.rods) &&
                            changed(m_site->conductors, site.conductors, moved.conductors) &&
                            changed(m_site->wires, site.wires, moved.wires) &&
                            changed(m_site->buildings, site.buildings, moved.buildings);
    if (!comparable || moved.size() > kMostMoved) {
        m_site.reset();  // until the maps are made
        cold(site, step);
    } else if (moved.size() == 0) {
        m_provedLast = 0;
    } else {
        const double hr = site.hr;
        // The moved objects' extents in a site (a wire hangs below its supports).
        auto extents = [&](const sphere::Site& s) {
            std::vector<Extent> out;
            for (const std::size_t i : moved.rods)
                out.push_back({boxOf({{s.rods[i].x, s.rods[i].y}}), s.rods[i].tip});
            for (const std::size_t i : moved.conductors) {
                const sphere::Conductor& c = s.conductors[i];
                out.push_back(
                    {boxOf({{c.from.x, c.from.y}, {c.to.x, c.to.y}}), std::max(c.from.z, c.to.z)});
            }
            for (const std::size_t i : moved.wires) {
                const sphere::Wire& w = s.wires[i];
                out.push_back(
                    {boxOf({{w.from.x, w.from.y}, {w.to.x, w.to.y}}), std::max(w.from.z, w.to.z)});
            }
            for (const std::size_t i : moved.buildings) {
                sphere::Box b{INFINITY, INFINITY, -INFINITY, -INFINITY};
                for (const sphere::Point2& p : s.buildings[i].outline)
                    b = {std::min(b.minX, p.x), std::min(b.minY, p.y), std::max(b.maxX, p.x),
                         std::max(b.maxY, p.y)};
                out.push_back({b, s.buildings[i].roof});
            }
            return out;
        };
        auto beyond = [&](const sphere::SurfaceGrid& g, std::size_t k,
                          const std::vector<Extent>& es) {
            return std::all_of(es.begin(), es.end(),
                               [&](const Extent& e) { return beyondReach(g, k, e, hr); });
        };
        auto isMovedBuilding = [&](std::size_t i) {
            return std::binary_search(moved.buildings.begin(), moved.buildings.end(), i);
        };
        sphere::Site rest;
        rest.hr = hr;
        rest.rods = without(site.rods, moved.rods);
        rest.conductors = without(site.conductors, moved.conductors);
        rest.wires = without(site.wires, moved.wires);
        rest.buildings = without(site.buildings, moved.buildings);
        std::size_t fresh = 0;
        std::vector<Roof> restRoofs;
        std::optional<Moved> restMoved;
        if (m_moved && *m_moved == moved) {
            // The same objects moved as in the last frame, the rest as it was.
            restRoofs = m_rest;
            restMoved = m_moved;
        } else {
            // A new drag: the squares over the rest, from the last frame's. A square proved
            // there stays proved over the rest where the moved objects were out of its
            // reach; a sphere that refuted it is admissible among fewer objects too.
            const std::vector<Extent> before = extents(*m_site);
            std::optional<sphere::Engine> restEngine;
            std::vector<std::pair<std::size_t, std::size_t>> toProve;
            restRoofs.resize(site.buildings.size());
            for (std::size_t i = 0; i < site.buildings.size(); ++i) {
                if (isMovedBuilding(i)) continue;
                Roof r = m_roofs[i];
                for (std::size_t k = 0; k < r.grid.s.size(); ++k) {
                    if (r.proved[k] && !beyond(r.grid, k, before)) {
                        r.proved[k] = 0;
                        toProve.push_back({i, k});
                    }
                }
                restRoofs[i] = std::move(r);
            }
            if (!toProve.empty()) restEngine.emplace(rest);
            sphere::parallelFor(toProve.size(), [&](std::size_t n) {
                const auto [i, k] = toProve[n];
                Roof& r = restRoofs[i];
                const sphere::Proof proof = restEngine->proveAtLeast(
                    nodeOf(r.grid, k), r.grid.step / 2, site.buildings[i].roof + kProvedMargin);
                r.proved[k] = proof.proved;
                r.witness[k] = proof.witness;
            });
            fresh += toProve.size();
            restMoved = moved;
        }
        // This frame: over the rest, then the moved objects where they may change it.
        sphere::Site movedOnly;
        movedOnly.hr = hr;
        movedOnly.rods = only(site.rods, moved.rods);
        movedOnly.conductors = only(site.conductors, moved.conductors);
        movedOnly.wires = only(site.wires, moved.wires);
        movedOnly.buildings = only(site.buildings, moved.buildings);
        const sphere::Engine movedEngine(movedOnly);
        const std::vector<Extent> after = extents(site);
        std::vector<Roof> roofs(site.buildings.size());
        std::vector<std::pair<std::size_t, std::size_t>> toProve;
        for (std::size_t i = 0; i < site.buildings.size(); ++i) {
            Roof& r = roofs[i];
            if (isMovedBuilding(i)) {
                r.grid = roofNodes(site.buildings[i], step);
                r.proved.assign(r.grid.s.size(), 0);
                r.witness.assign(r.grid.s.size(), std::nullopt);
                for (std::size_t k = 0; k < r.grid.s.size(); ++k) toProve.push_back({i, k});
                continue;
            }
            r = restRoofs[i];
            for (std::size_t k = 0; k < r.grid.s.size(); ++k) {
                if (r.proved[k] || beyond(r.grid, k, after)) continue;
                if (r.witness[k] && movedEngine.clearOf(*r.witness[k], 1e-9)) continue;
                toProve.push_back({i, k});
            }
        }
        std::optional<sphere::Engine> engine;
        if (!toProve.empty()) engine.emplace(site);
        sphere::parallelFor(toProve.size(), [&](std::size_t n) {
            const auto [i, k] = toProve[n];
            Roof& r = roofs[i];
            const sphere::Proof proof =
                engine->proveAtLeast(nodeOf(r.grid, k), r.grid.step / 2,
                                     site.buildings[i].roof + kProvedMargin, kFrameCells);
            r.proved[k] = proof.proved;
            // The frame's refuting sphere, admissible among all the objects (the rest's
            // may not be); and so among the rest, kept for the frames to come.
            r.witness[k] = proof.witness;
            if (proof.witness && !isMovedBuilding(i)) restRoofs[i].witness[k] = proof.witness;
        });
        fresh += toProve.size();
        m_provedLast = fresh;
        m_roofs = std::move(roofs);
        m_rest = std::move(restRoofs);
        m_moved = std::move(restMoved);
    }
    m_site = site;
    m_step = step;
    std::vector<sphere::SurfaceGrid> maps;
    for (std::size_t i = 0; i < m_roofs.size(); ++i) {
        sphere::SurfaceGrid g = m_roofs[i].grid;
        const double z = site.buildings[i].roof + kProvedMargin;
        for (std::size_t k = 0; k < g.s.size(); ++k) g.s[k] = m_roofs[i].proved[k] ? z : 0;
        maps.push_back(std::move(g));
    }
    return maps;
}

SiteResult computeSite(const SiteState& state, bool exact, double coarseStep, DragMaps* drag) {
    SiteResult r;
    r.exact = exact;
    r.step = coarseStep;
    const auto t0 = std::chrono::steady_clock::now();
    try {
        if (!exact && drag) {
            r.roofMaps = drag->update(state.site, coarseStep);
        } else if (const sphere::Engine engine(state.site); exact) {
            r.roofs = engine.roofs();
            for (const double z : state.levels) r.levels.push_back(engine.level(z));
        } else {
            r.roofMaps = roofMaps(engine, coarseStep);
        }
    } catch (const std::exception& e) {
        r.problem = QString::fromUtf8(e.what());
    }
    r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    return r;
}

// Where a job's thread hands its result: to the computer while it lives.
struct SiteComputer::Mailbox {
    std::mutex mutex;
    SiteComputer* owner = nullptr;
};

SiteComputer::SiteComputer(QObject* parent)
    : QObject(parent),
      m_drag(std::make_shared<DragMaps>()),
      m_mailbox(std::make_shared<Mailbox>()) {
    m_mailbox->owner = this;
}

SiteComputer::~SiteComputer() {
    // A job still running finishes on its own and finds no one to tell.
    const std::lock_guard lock(m_mailbox->mutex);
    m_mailbox->owner = nullptr;
}

void SiteComputer::request(const SiteState& state, bool exact, double coarseStep) {
    const std::uint64_t g = m_generation;
    Lane& lane = exact ? m_exact : m_coarse;
    if (exact) m_lastExactAsked = g;
    if (lane.running) {
        lane.pending = state;
        lane.pendingGeneration = g;
        lane.step = coarseStep;
    } else {
        start(exact, state, g, coarseStep);
    }
}

bool SiteComputer::exactPending() const {
    return m_lastExactAsked == m_generation && (m_exact.running || m_exact.pending);
}

void SiteComputer::start(bool exact, SiteState state, std::uint64_t generation, double step) {
    (exact ? m_exact : m_coarse).running = true;
    std::thread([mailbox = m_mailbox, drag = exact ? nullptr : m_drag, state = std::move(state),
                 exact, generation, step] {
        SiteResult r = computeSite(state, exact, step, drag.get());
        r.generation = generation;
        const std::lock_guard lock(mailbox->mutex);
        if (SiteComputer* owner = mailbox->owner)
            QMetaObject::invokeMethod(
                owner, [owner, r = std::move(r)] { owner->finished(r); },
                Qt::QueuedConnection);
    }).detach();
}

void SiteComputer::finished(const SiteResult& result) {
    Lane& lane = result.exact ? m_exact : m_coarse;
    lane.running = false;
    if (lane.pending) {
        SiteState next = std::move(*lane.pending);
        lane.pending.reset();
        start(result.exact, std::move(next), lane.pendingGeneration, lane.step);
    }
    // An exact result only for the site as it is now; a coarse one when it is newer than
    // what is shown and no exact one of its site is.
    const bool show = result.exact ? result.generation == m_generation
                                   : result.generation > m_shown ||
                                         (result.generation == m_shown && !m_shownExact);
    if (!show) return;
    m_shown = result.generation;
    m_shownExact = result.exact;
    emit ready(result);
}

}  // namespace tervalen::view

#include "view/site_compute.h"

#include <QMetaObject>
#include <QPointer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace tervalen::view {

std::vector<sphere::SurfaceGrid> roofMaps(const sphere::Engine& engine, double step) {
    std::vector<sphere::SurfaceGrid> maps;
    for (const sphere::Building& b : engine.buildings()) {
        sphere::Box box{b.outline.front().x, b.outline.front().y, b.outline.front().x,
                        b.outline.front().y};
        for (const sphere::Point2& p : b.outline) {
            box.minX = std::min(box.minX, p.x), box.maxX = std::max(box.maxX, p.x);
            box.minY = std::min(box.minY, p.y), box.maxY = std::max(box.maxY, p.y);
        }
        // Nodes at the cells' centres: a roof narrower than the step still gets one.
        const double w = box.maxX - box.minX, h = box.maxY - box.minY;
        const double nx = std::max(1.0, std::ceil(w / step)),
                     ny = std::max(1.0, std::ceil(h / step));
        const double sx = w / nx, sy = h / ny, s = std::max({sx, sy, 1e-3});
        sphere::Box centres{box.minX + sx / 2, box.minY + sy / 2, box.maxX - sx / 2 + 1e-9,
                            box.maxY - sy / 2 + 1e-9};
        if (sx != sy) {
            // A square grid: the longer cell side for both, centred.
            const double cx = (box.minX + box.maxX) / 2, cy = (box.minY + box.maxY) / 2;
            const double hx = (std::ceil(w / s) - 1) * s / 2, hy = (std::ceil(h / s) - 1) * s / 2;
            centres = {cx - hx, cy - hy, cx + hx + 1e-9, cy + hy + 1e-9};
        }
        maps.push_back(engine.grid(centres, s));
    }
    return maps;
}

SiteResult computeSite(const SiteState& state, bool exact, double coarseStep) {
    SiteResult r;
    r.exact = exact;
    r.step = coarseStep;
    const auto t0 = std::chrono::steady_clock::now();
    try {
        const sphere::Engine engine(state.site);
        if (exact) {
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
    : QObject(parent), m_mailbox(std::make_shared<Mailbox>()) {
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
    std::thread([mailbox = m_mailbox, state = std::move(state), exact, generation, step] {
        SiteResult r = computeSite(state, exact, step);
        r.generation = generation;
        const std::lock_guard lock(mailbox->mutex);
        if (SiteComputer* owner = mailbox->owner)
            QMetaObject::invokeMethod(
                owner, [owner, r = std::move(r)]() mutable { owner->finished(std::move(r)); },
                Qt::QueuedConnection);
    }).detach();
}

void SiteComputer::finished(SiteResult result) {
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

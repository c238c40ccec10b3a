#include "calc/sphere/engine.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <limits>
#include <queue>
#include <stdexcept>

#include "calc/sphere/parallel.h"

namespace tervalen::sphere {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
// A centre this close to the edge of a forbidden interval counts as outside it: the sphere
// touching an object from below is admissible, and rounding must not make it jump.
constexpr double kTouch = 1e-9;
// A centre this close (in r² = Hr² − h², r < 1e-5 m: h within 1e-12 m of Hr) to the edge of
// an object's reach touches it from the side: admissible, for the same reason.
constexpr double kSide2 = 1e-10;

// What stops the sphere, in three shapes.
//   Slab: a vertical rectangle over the plan segment a–b from zlo to zhi (a rod when a = b,
//         a building's wall over one edge of its outline);
//   Curve: a wire from (a, za) to (b, zb) hanging with sag f (f = 0: a straight conductor);
//   Inside: a building's plan, from zlo to zhi, seen from above its outline.
struct Piece {
    enum class Kind { Slab, Curve, Inside } kind = Kind::Slab;
    double ax = 0, ay = 0, az = 0, bx = 0, by = 0, bz = 0, sag = 0;
    double zlo = 0, zhi = 0;
    int polygon = -1;
    Box box;  // plan box, not widened
};

// The forbidden open interval of centre heights on one vertical.
struct Interval {
    double lo = 0, hi = 0;
    bool defined = false;
};

double dist2ToSegment(double qx, double qy, double ax, double ay, double bx, double by) {
    const double dx = bx - ax, dy = by - ay;
    const double len2 = dx * dx + dy * dy;
    double t = 0;
    if (len2 > 0) t = std::clamp(((qx - ax) * dx + (qy - ay) * dy) / len2, 0.0, 1.0);
    const double ex = ax + t * dx - qx, ey = ay + t * dy - qy;
    return ex * ex + ey * ey;
}

bool inside(const std::vector<Point2>& poly, double x, double y) {
    bool in = false;
    for (std::size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        const Point2 &a = poly[i], &b = poly[j];
        if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) in = !in;
    }
    return in;
}

}  // namespace

struct Engine::Impl {
    double hr = 0;
    std::vector<Piece> pieces;
    std::vector<std::vector<Point2>> polygons;
    std::vector<Building> buildings;
    Box bounds;
    double highest = 0;
    // The spatial index: pieces by the cells their plan box, widened by Hr, covers.
    double cell = 1;
    double gx0 = 0, gy0 = 0;
    int nx = 1, ny = 1;
    std::vector<std::vector<int>> cells;
    // For each cell, the pieces within 2 Hr of it in plan, in order: every piece a sphere
    // reaching a point of the cell may touch.
    std::vector<std::vector<int>> within;

    Interval interval(const Piece& p, double qx, double qy) const;
    double curveExtreme(const Piece& p, double tc, double rho2, double A, double tL, double tR,
                        bool high, double* at = nullptr) const;
    // The same interval, and for a curve where along it (0..1) its low and high ends are
    // reached.
    Interval interval(const Piece& p, double qx, double qy, double* tLow, double* tHigh) const;
    // The pieces that may stop a sphere whose centre is within `reach` of (x, y) in plan.
    void near(double x, double y, double reach, std::vector<int>& out) const;
};

// ---------------------------------------------------------------- one vertical

// The extreme of z(t) ± r(t) over [tL, tR] for a hanging wire (f > 0): z is convex, so
// z − r is too (its least value by bisection on the derivative); z + r is concave where
// 8fρ ≤ A, and otherwise searched by sampling, then a golden section.
double Engine::Impl::curveExtreme(const Piece& p, double tc, double rho2, double A, double tL,
                                  double tR, bool high, double* at) const {
    double dummy = 0;
    double& where = at ? *at : dummy;
    const double s = p.bz - p.az, f = p.sag;
    auto r = [&](double t) { return std::sqrt(std::max(0.0, rho2 - A * (t - tc) * (t - tc))); };
    auto z = [&](double t) { return p.az + s * t - 4 * f * t * (1 - t); };
    auto g = [&](double t) { return high ? z(t) + r(t) : z(t) - r(t); };
    // The derivative of g (r' is infinite at the edges of the range where r = 0).
    auto dg = [&](double t) {
        const double rr = r(t);
        const double dz = s - 4 * f + 8 * f * t;
        const double u = t - tc;
        if (rr <= 0) return dz + (high ? -1 : 1) * (u > 0 ? kInf : -kInf);
        const double dr = -A * u / rr;
        return high ? dz + dr : dz - dr;
    };
    const double rho = std::sqrt(rho2);
    const bool unimodal = !high || 8 * f * rho <= A;
    double a = tL, b = tR;
    if (unimodal) {
        // g' runs one way (up for the low end, down for the high end): bisect its sign.
        const double sign = high ? -1 : 1;
        if (sign * dg(a) >= 0) return g(where = a);
        if (sign * dg(b) <= 0) return g(where = b);
        for (int i = 0; i < 80 && b - a > 1e-15; ++i) {
            const double m = (a + b) / 2;
            (sign * dg(m) < 0 ? a : b) = m;
        }
        return g(where = (a + b) / 2);
    }
    constexpr int kSamples = 48;
    int best = 0;
    double bestValue = -kInf;
    for (int i = 0; i <= kSamples; ++i) {
        const double v = g(tL + (tR - tL) * i / kSamples);
        if (v > bestValue) bestValue = v, best = i;
    }
    a = tL + (tR - tL) * std::max(0, best - 1) / kSamples;
    b = tL + (tR - tL) * std::min(kSamples, best + 1) / kSamples;
    constexpr double kPhi = 0.6180339887498949;
    double c = b - kPhi * (b - a), d = a + kPhi * (b - a);
    double gc = g(c), gd = g(d);
    for (int i = 0; i < 90 && b - a > 1e-15; ++i) {
        if (gc > gd) {
            b = d, d = c, gd = gc, c = b - kPhi * (b - a), gc = g(c);
        } else {
            a = c, c = d, gc = gd, d = a + kPhi * (b - a), gd = g(d);
        }
    }
    std::pair<double, double> top{bestValue, tL + (tR - tL) * best / kSamples};
    for (const double t : {(a + b) / 2, tL, tR})
        if (const double v = g(t); v > top.first) top = {v, t};
    where = top.second;
    return top.first;
}

Interval Engine::Impl::interval(const Piece& p, double qx, double qy) const {
    return interval(p, qx, qy, nullptr, nullptr);
}

Interval Engine::Impl::interval(const Piece& p, double qx, double qy, double* tLow,
                                double* tHigh) const {
    const double hr2 = hr * hr;
    switch (p.kind) {
        case Piece::Kind::Slab: {
            const double h2 = dist2ToSegment(qx, qy, p.ax, p.ay, p.bx, p.by);
            if (hr2 - h2 <= kSide2) return {};
            const double r = std::sqrt(hr2 - h2);
            return {p.zlo - r, p.zhi + r, true};
        }
        case Piece::Kind::Inside: {
            if (qx < p.box.minX || qx > p.box.maxX || qy < p.box.minY || qy > p.box.maxY ||
                !inside(polygons[static_cast<std::size_t>(p.polygon)], qx, qy))
                return {};
            return {p.zlo - hr, p.zhi + hr, true};
        }
        case Piece::Kind::Curve: {
            const double dx = p.bx - p.ax, dy = p.by - p.ay;
            const double A = dx * dx + dy * dy;
            const double wx = qx - p.ax, wy = qy - p.ay;
            const double tc = (wx * dx + wy * dy) / A;
            const double cr = wx * dy - wy * dx;
            const double rho2 = hr2 - cr * cr / A;
            if (rho2 <= kSide2) return {};
            const double half = std::sqrt(rho2 / A);
            const double tL = std::max(0.0, tc - half), tR = std::min(1.0, tc + half);
            if (tL >= tR) {
                // The range touches the segment at one end only, or not at all.
                if (tL > tR) return {};
            }
            auto r = [&](double t) {
                return std::sqrt(std::max(0.0, rho2 - A * (t - tc) * (t - tc)));
            };
            if (p.sag == 0) {
                // z + r and z − r on a straight conductor: concave and convex, their
                // extremes in closed form, then held within [tL, tR].
                const double s = p.bz - p.az;
                const double u = s * std::sqrt(rho2) / std::sqrt(A * (A + s * s));
                const double th = std::clamp(tc + u, tL, tR), tl = std::clamp(tc - u, tL, tR);
                const double lo = p.az + s * tl - r(tl), hi = p.az + s * th + r(th);
                if (!(hi > lo)) return {};
                if (tLow) *tLow = tl;
                if (tHigh) *tHigh = th;
                return {lo, hi, true};
            }
            const double lo = curveExtreme(p, tc, rho2, A, tL, tR, false, tLow);
            const double hi = curveExtreme(p, tc, rho2, A, tL, tR, true, tHigh);
            if (!(hi > lo)) return {};
            return {lo, hi, true};
        }
    }
    return {};
}

void Engine::Impl::near(double x, double y, double reach, std::vector<int>& out) const {
    out.clear();
    const double ci = std::floor((x - gx0) / cell), cj = std::floor((y - gy0) / cell);
    if (reach <= hr && ci >= 0 && cj >= 0 && ci < nx && cj < ny) {
        const double lim = reach + hr;
        for (int k : within[static_cast<std::size_t>(cj) * static_cast<std::size_t>(nx) +
                            static_cast<std::size_t>(ci)]) {
            const Box& b = pieces[static_cast<std::size_t>(k)].box;
            const double ex = std::max({0.0, b.minX - x, x - b.maxX});
            const double ey = std::max({0.0, b.minY - y, y - b.maxY});
            if (ex * ex + ey * ey < lim * lim) out.push_back(k);
        }
        return;
    }
    const int i0 = std::max(0, static_cast<int>(std::floor((x - reach - gx0) / cell)));
    const int i1 = std::min(nx - 1, static_cast<int>(std::floor((x + reach - gx0) / cell)));
    const int j0 = std::max(0, static_cast<int>(std::floor((y - reach - gy0) / cell)));
    const int j1 = std::min(ny - 1, static_cast<int>(std::floor((y + reach - gy0) / cell)));
    if (!(x + reach >= gx0) || !(y + reach >= gy0)) return;
    for (int j = j0; j <= j1; ++j)
        for (int i = i0; i <= i1; ++i)
            for (int k : cells[static_cast<std::size_t>(j) * static_cast<std::size_t>(nx) +
                               static_cast<std::size_t>(i)]) {
                const Box& b = pieces[static_cast<std::size_t>(k)].box;
                // The piece reaches a centre within Hr of it; the centres are within
                // `reach` of (x, y).
                const double ex = std::max({0.0, b.minX - x, x - b.maxX});
                const double ey = std::max({0.0, b.minY - y, y - b.maxY});
                const double lim = reach + hr;
                if (ex * ex + ey * ey < lim * lim) out.push_back(k);
            }
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
}

// ---------------------------------------------------------------- one query

namespace {

// A function of the plan position whose value is a centre height: the ground (Hr), or the
// low or the high end of one piece's forbidden interval.
struct Fn {
    enum class Kind { Ground, Low, High, Edge } kind = Kind::Ground;
    int piece = -1;
    // Whether the sphere can rest on it (the ground, the top of an interval).
    bool holds() const { return kind == Kind::Ground || kind == Kind::High; }
};

// The length of (x, y), for the numeric search (no care for overflow: plan metres).
inline double norm(double x, double y) {
    return std::sqrt(x * x + y * y);
}

struct Vec2 {
    double x = 0, y = 0;
};

class Query {
public:
    // `spread`: the half-side of a square of ground points about p that the bounds hold
    // for (0: p alone).
    Query(const Engine::Impl& e, Point2 p, double spread = 0)
        : m_e(e), m_p(p), m_hr2(e.hr * e.hr), m_spread(spread) {
        e.near(p.x, p.y, e.hr + spread * std::sqrt(2.0), m_local);
        m_scratch.reserve(m_local.size());
    }

    bool empty() const { return m_local.empty(); }

    // The lowest admissible centre height at or above Hr on the vertical through (x, y).
    double centre(double x, double y) {
        m_scratch.clear();
        const double hr2 = m_hr2;
        for (int k : m_local) {
            const Piece& piece = m_e.pieces[static_cast<std::size_t>(k)];
            // A piece whose plan box is Hr away or more forbids nothing here.
            const double ex = std::max({0.0, piece.box.minX - x, x - piece.box.maxX});
            const double ey = std::max({0.0, piece.box.minY - y, y - piece.box.maxY});
            if (ex * ex + ey * ey >= hr2) continue;
            const Interval iv = m_e.interval(piece, x, y);
            if (iv.defined && iv.hi > m_e.hr) m_scratch.push_back(iv);
        }
        std::sort(m_scratch.begin(), m_scratch.end(),
                  [](const Interval& a, const Interval& b) { return a.lo < b.lo; });
        double z = m_e.hr;
        for (const Interval& iv : m_scratch) {
            if (iv.lo + kTouch >= z) break;
            if (iv.hi > z) z = iv.hi;
        }
        return z;
    }

    // √(Hr² − d²) for the horizontal distance d from the query point; NaN beyond Hr.
    double cap(double x, double y) const {
        const double dx = x - m_p.x, dy = y - m_p.y;
        const double d2 = dx * dx + dy * dy;
        if (d2 > m_hr2) return std::numeric_limits<double>::quiet_NaN();
        return std::sqrt(m_hr2 - d2);
    }

    // The height the sphere centred over (x, y) reaches above the query point.
    double reached(double x, double y) {
        const double c = cap(x, y);
        if (std::isnan(c)) return kInf;
        return centre(x, y) - c;
    }

    // A height function's value, or for an edge the plan distance to the piece less Hr
    // (zero where the sphere touches it from the side); NaN where it is not defined.
    double value(const Fn& f, double x, double y) const {
        if (f.kind == Fn::Kind::Ground) return m_e.hr;
        const Piece& p = m_e.pieces[static_cast<std::size_t>(f.piece)];
        if (f.kind == Fn::Kind::Edge)
            return std::sqrt(dist2ToSegment(x, y, p.ax, p.ay, p.bx, p.by)) - m_e.hr;
        const Interval iv = m_e.interval(p, x, y);
        if (!iv.defined) return std::numeric_limits<double>::quiet_NaN();
        return f.kind == Fn::Kind::High ? iv.hi : iv.lo;
    }

    Vec2 gradient(const Fn& f, double x, double y) const {
        if (f.kind == Fn::Kind::Ground) return {};
        constexpr double h = 1e-5;
        return {(value(f, x + h, y) - value(f, x - h, y)) / (2 * h),
                (value(f, x, y + h) - value(f, x, y - h)) / (2 * h)};
    }

    Vec2 capGradient(double x, double y) const {
        const double c = cap(x, y);
        return {-(x - m_p.x) / c, -(y - m_p.y) / c};
    }

    // A condition of a resting position, zero there: another height function equal to the
    // one the sphere rests on, or an edge touched.
    double condition(const Fn& rest, const Fn& f, double x, double y) const {
        return f.kind == Fn::Kind::Edge ? value(f, x, y) : value(f, x, y) - value(rest, x, y);
    }

    // The conditions a resting position of the sphere on fs[0] (the ground or an object's
    // top) and the others satisfies, two equations in the plan position: with one other,
    // the height reached is stationary along the curve where it holds; with none, it is
    // stationary.
    bool residual(const std::vector<Fn>& fs, double x, double y, Vec2& out) const {
        if (std::isnan(cap(x, y))) return false;
        const Fn& rest = fs[0];
        if (fs.size() == 1) {
            const Vec2 g = gradient(rest, x, y), w = capGradient(x, y);
            out = {g.x - w.x, g.y - w.y};
        } else if (fs.size() == 2) {
            const Vec2 g1 = gradient(rest, x, y), g2 = gradient(fs[1], x, y);
            const Vec2 w = capGradient(x, y);
            const double nx = fs[1].kind == Fn::Kind::Edge ? g2.x : g1.x - g2.x;
            const double ny = fs[1].kind == Fn::Kind::Edge ? g2.y : g1.y - g2.y;
            const double n = norm(nx, ny);
            if (!(n > 0)) return false;
            out = {condition(rest, fs[1], x, y), ((g1.x - w.x) * -ny + (g1.y - w.y) * nx) / n};
        } else {
            out = {condition(rest, fs[1], x, y), condition(rest, fs[2], x, y)};
        }
        return std::isfinite(out.x) && std::isfinite(out.y);
    }

    // Newton's method on the resting conditions from (x, y); false when it does not settle.
    bool solve(const std::vector<Fn>& fs, double& x, double& y, double reach) const {
        const double x0 = x, y0 = y;
        Vec2 r;
        if (!residual(fs, x, y, r)) return false;
        const double hj = fs.size() == 3 ? 1e-6 : 1e-4;
        for (int it = 0; it < 60; ++it) {
            Vec2 rx, ry;
            if (!residual(fs, x + hj, y, rx) || !residual(fs, x, y + hj, ry)) return false;
            const double j11 = (rx.x - r.x) / hj, j12 = (ry.x - r.x) / hj;
            const double j21 = (rx.y - r.y) / hj, j22 = (ry.y - r.y) / hj;
            const double det = j11 * j22 - j12 * j21;
            if (!(std::fabs(det) > 0) || !std::isfinite(det)) return false;
            double dx = -(r.x * j22 - r.y * j12) / det, dy = -(j11 * r.y - j21 * r.x) / det;
            const double len = norm(dx, dy), limit = reach / 4;
            if (!std::isfinite(len)) return false;
            if (len > limit) dx *= limit / len, dy *= limit / len;
            // Damped: the step is halved until the residual is smaller and defined, each
            // equation measured in metres of the plan (divided by its gradient's length),
            // so that a steep one does not hold back a flat one.
            const double w1 = 1 / std::max(1e-12, norm(j11, j12));
            const double w2 = 1 / std::max(1e-12, norm(j21, j22));
            const double before = norm(r.x * w1, r.y * w2);
            double scale = 1;
            Vec2 rn;
            bool moved = false;
            for (int k = 0; k < 30; ++k, scale /= 2) {
                if (residual(fs, x + scale * dx, y + scale * dy, rn) &&
                    norm(rn.x * w1, rn.y * w2) < before * (1 - 1e-4 * scale)) {
                    moved = true;
                    break;
                }
            }
            if (!moved) return before < 1e-10;
            x += scale * dx, y += scale * dy, r = rn;
            // A resting position is sought near where the search ended, not anywhere.
            if (norm(x - x0, y - y0) > reach) return false;
            if (scale * len < 1e-11) return true;
        }
        return norm(r.x, r.y) < 1e-7;
    }

    // The functions whose value at (x, y) is within reach of the centre height there (the
    // ones the sphere near (x, y) may rest on or pass just below), and the edges of the
    // objects it may touch from the side. At most `most`, the nearest first.
    std::vector<Fn> active(double x, double y, double step, std::size_t most) {
        const double c = centre(x, y);
        const double tol = 3 * step + 1e-9;
        std::vector<std::pair<double, Fn>> found;
        auto consider = [&](const Fn& f) {
            const double v = value(f, x, y);
            if (!std::isfinite(v) || std::fabs(v - c) > 1.0 + 50 * step) return;
            const Vec2 g = gradient(f, x, y);
            const double gap = std::fabs(v - c) / (1 + norm(g.x, g.y));
            if (gap <= tol) found.push_back({gap, f});
        };
        if (c - m_e.hr <= tol) found.push_back({c - m_e.hr, Fn{Fn::Kind::Ground, -1}});
        for (int k : m_local) {
            consider(Fn{Fn::Kind::High, k});
            consider(Fn{Fn::Kind::Low, k});
            const Piece& p = m_e.pieces[static_cast<std::size_t>(k)];
            if (p.kind == Piece::Kind::Inside) continue;
            const double edge = value(Fn{Fn::Kind::Edge, k}, x, y);
            if (std::fabs(edge) > tol) continue;
            // Touched from the side only where the piece spans the centre's height there.
            double zlo = p.zlo, zhi = p.zhi;
            if (p.kind == Piece::Kind::Curve) {
                const double dx = p.bx - p.ax, dy = p.by - p.ay;
                const double t =
                    std::clamp(((x - p.ax) * dx + (y - p.ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
                zlo = zhi = p.az + (p.bz - p.az) * t - 4 * p.sag * t * (1 - t);
            }
            if (zlo <= c + 1 + 50 * step && zhi >= c - 1 - 50 * step)
                found.push_back({std::fabs(edge), Fn{Fn::Kind::Edge, k}});
        }
        std::stable_sort(found.begin(), found.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        std::vector<Fn> out;
        for (const auto& [gap, f] : found) {
            if (out.size() >= most) break;
            out.push_back(f);
        }
        return out;
    }

    // A lower bound on the height reached, c_z − √(Hr² − |q − p|²), over every admissible
    // centre above the square cell of centre (cx, cy) and half-side h; infinity for a cell
    // wholly outside the disk of centres.
    //
    // Each object forbids at every q of the cell at least the heights it forbids at all of
    // them: for a rod or wall, its interval at the cell's farthest corner (the distance to
    // a segment is convex, so greatest at a corner); for a conductor or wire, the interval
    // of the point of it that makes the ends of the interval at the cell's centre, at the
    // farthest corner from that point; a roof only over a cell wholly within its outline.
    // Swept from Hr like the centre height itself, these give a height no admissible centre
    // over the cell is below; less the largest cap over the cell, the first bound. Where an
    // object's interval surely lies below that height at every q of the cell, each centre
    // over the cell is at least as high as the top of the sphere about that object's point,
    // z_w + √(Hr² − |q − w|²); that less the cap is smooth, bounded below by its value and
    // slope at the centre and its curvature over the cell, and, when w is near p, by
    // z_w less the slope of the cap times |w − p| (exact right over a rod).
    //
    // With a spread, the bound holds for every ground point of the square of half-side
    // `spread` about p as well: the cap's reach taken from the square, and its slope and
    // curvature over the two squares' offsets.
    double lowerBound(double cx, double cy, double h) {
        const double hr = m_e.hr, hr2 = m_hr2, hp = m_spread;
        const double ex = std::max(0.0, std::fabs(cx - m_p.x) - h - hp);
        const double ey = std::max(0.0, std::fabs(cy - m_p.y) - h - hp);
        const double dmin2 = ex * ex + ey * ey;
        if (dmin2 >= hr2) return kInf;
        const double capMax = std::sqrt(hr2 - dmin2);
        const double fx = std::fabs(cx - m_p.x) + h + hp, fy = std::fabs(cy - m_p.y) + h + hp;
        const double dmax2 = fx * fx + fy * fy;
        const std::array<std::array<double, 2>, 4> corners = {
            {{cx - h, cy - h}, {cx + h, cy - h}, {cx - h, cy + h}, {cx + h, cy + h}}};
        auto farthest2 = [&](double wx, double wy) {
            const double ax = std::fabs(cx - wx) + h, ay = std::fabs(cy - wy) + h;
            return ax * ax + ay * ay;
        };
        m_bounds.clear();
        for (int k : m_local) {
            const Piece& p = m_e.pieces[static_cast<std::size_t>(k)];
            // Hr or more from the cell's centre in plan: the piece forbids nothing there,
            // nor at the farthest corner (a distance to a segment is convex), nor does it
            // hold the whole cell.
            const double bx = std::max({0.0, p.box.minX - cx, cx - p.box.maxX});
            const double by = std::max({0.0, p.box.minY - cy, cy - p.box.maxY});
            if (bx * bx + by * by >= hr2) continue;
            CellInterval b;
            switch (p.kind) {
                case Piece::Kind::Slab: {
                    double far2 = 0;
                    for (const auto& c : corners)
                        far2 = std::max(far2, dist2ToSegment(c[0], c[1], p.ax, p.ay, p.bx, p.by));
                    if (hr2 - far2 <= kSide2) continue;
                    const double r = std::sqrt(hr2 - far2);
                    b.lo = p.zlo - r, b.hi = p.zhi + r;
                    // The wall's point nearest the centre.
                    const double dx = p.bx - p.ax, dy = p.by - p.ay, len2 = dx * dx + dy * dy;
                    const double t =
                        len2 > 0
                            ? std::clamp(((cx - p.ax) * dx + (cy - p.ay) * dy) / len2, 0.0, 1.0)
                            : 0.0;
                    b.wx = p.ax + t * dx, b.wy = p.ay + t * dy, b.wz = p.zhi;
                    b.witness = true;
                    break;
                }
                case Piece::Kind::Inside: {
                    if (cx - h < p.box.minX || cx + h > p.box.maxX || cy - h < p.box.minY ||
                        cy + h > p.box.maxY ||
                        !inside(m_e.polygons[static_cast<std::size_t>(p.polygon)], cx, cy))
                        continue;
                    const auto& poly = m_e.polygons[static_cast<std::size_t>(p.polygon)];
                    bool whole = true;
                    for (std::size_t i = 0, j = poly.size() - 1; whole && i < poly.size(); j = i++)
                        whole = dist2ToSegment(cx, cy, poly[i].x, poly[i].y, poly[j].x, poly[j].y) >
                                2 * h * h;
                    if (!whole) continue;
                    b.lo = p.zlo - hr, b.hi = p.zhi + hr;
                    break;
                }
                case Piece::Kind::Curve: {
                    double tl = 0, th = 0;
                    if (!m_e.interval(p, cx, cy, &tl, &th).defined) continue;
                    const double dx = p.bx - p.ax, dy = p.by - p.ay;
                    auto zOf = [&](double t) {
                        return p.az + (p.bz - p.az) * t - 4 * p.sag * t * (1 - t);
                    };
                    // Any point of the curve bounds the low end from above and the high end
                    // from below; the two found at the centre, at the cell's farthest corner.
                    b.lo = kInf, b.hi = -kInf;
                    for (const double t : {tl, th}) {
                        const double wx = p.ax + t * dx, wy = p.ay + t * dy, z = zOf(t);
                        const double far2 = farthest2(wx, wy);
                        if (hr2 - far2 <= kSide2) continue;
                        const double r = std::sqrt(hr2 - far2);
                        b.lo = std::min(b.lo, z - r);
                        if (z + r > b.hi) b.hi = z + r, b.wx = wx, b.wy = wy, b.wz = z;
                        b.witness = true;
                    }
                    if (!b.witness) continue;
                    break;
                }
            }
            if (b.hi > b.lo) m_bounds.push_back(b);
        }
        std::sort(m_bounds.begin(), m_bounds.end(),
                  [](const CellInterval& a, const CellInterval& b) { return a.lo < b.lo; });
        double z = hr;
        for (const CellInterval& b : m_bounds) {
            if (b.lo + kTouch >= z) break;
            if (b.hi > z) z = b.hi;
        }
        double bound = z - capMax;
        if (dmax2 >= hr2) return bound;
        const double capC =
            std::sqrt(hr2 - ((cx - m_p.x) * (cx - m_p.x) + (cy - m_p.y) * (cy - m_p.y)));
        const double vx = -(cx - m_p.x) / capC, vy = -(cy - m_p.y) / capC;  // the cap's slope
        const double capCurve = hr2 / ((hr2 - dmax2) * std::sqrt(hr2 - dmax2));
        const double rho2 = 2 * h * h;
        // The tops under the centre height over the whole cell: the swept height itself
        // (flat) and the spheres about the objects' points, the highest three at the centre.
        struct Top {
            double value, gx, gy, curve;
        };
        std::array<Top, 4> tops;
        std::size_t n = 0;
        tops[n++] = {z, 0, 0, 0};
        for (const CellInterval& b : m_bounds) {
            if (!b.witness || !(b.lo + kTouch < z)) continue;
            const double far2 = farthest2(b.wx, b.wy);
            if (far2 >= hr2) continue;
            const double wcx = cx - b.wx, wcy = cy - b.wy;
            const double fc = std::sqrt(hr2 - wcx * wcx - wcy * wcy);
            const Top t{b.wz + fc, -wcx / fc, -wcy / fc,
                        hr2 / ((hr2 - far2) * std::sqrt(hr2 - far2))};
            const double reach2 = std::max(far2, dmax2);
            const double slope = std::sqrt(reach2 / (hr2 - reach2));
            bound = std::max(bound, b.wz - slope * (std::hypot(b.wx - m_p.x, b.wy - m_p.y) +
                                                    hp * std::sqrt(2.0)));
            if (n < tops.size()) {
                tops[n++] = t;
            } else {
                auto low = std::min_element(tops.begin() + 1, tops.end(),
                                            [](auto& a, auto& b) { return a.value < b.value; });
                if (t.value > low->value) *low = t;
            }
        }
        // The centre height is at least any mix λa + (1 − λ)b of two of them: with λ making
        // the mix's slope nearest the cap's, its Taylor bound loses only the curvature term
        // where the lowest sphere rests on both (a Lagrange multiplier).
        auto taylor = [&](const Top& a, const Top& b, double l) {
            const double gx = l * a.gx + (1 - l) * b.gx - vx, gy = l * a.gy + (1 - l) * b.gy - vy;
            const double value = l * a.value + (1 - l) * b.value - capC;
            // The cap's offset q − p moves by up to h + hp on each axis.
            const double capRho2 = 2 * (h + hp) * (h + hp);
            const double curve = l * a.curve + (1 - l) * b.curve;
            return value - (std::fabs(gx) + std::fabs(gy)) * h -
                   (std::fabs(vx) + std::fabs(vy)) * hp - curve * rho2 / 2 - capCurve * capRho2 / 2;
        };
        for (std::size_t i = 0; i < n; ++i) {
            bound = std::max(bound, taylor(tops[i], tops[i], 1));
            for (std::size_t j = i + 1; j < n; ++j) {
                const double dx = tops[i].gx - tops[j].gx, dy = tops[i].gy - tops[j].gy;
                const double d2 = dx * dx + dy * dy;
                if (!(d2 > 0)) continue;
                const double l =
                    std::clamp((dx * (vx - tops[j].gx) + dy * (vy - tops[j].gy)) / d2, 0.0, 1.0);
                bound = std::max(bound, taylor(tops[i], tops[j], l));
            }
        }
        return bound;
    }

    Point2 point() const { return m_p; }
    double hr() const { return m_e.hr; }

private:
    const Engine::Impl& m_e;
    Point2 m_p;
    double m_hr2;
    double m_spread = 0;
    // An interval forbidden over a whole cell, and the point of its object whose sphere's
    // top bounds the centres there from below (a wall's, a wire's; none for a roof).
    struct CellInterval {
        double lo = 0, hi = 0;
        double wx = 0, wy = 0, wz = 0;
        bool witness = false;
    };
    std::vector<int> m_local;
    std::vector<Interval> m_scratch;
    std::vector<CellInterval> m_bounds;
};

struct Best {
    double value = kInf;
    double x = 0, y = 0;
    void offer(double v, double qx, double qy) {
        if (v < value) value = v, x = qx, y = qy;
    }
};

// The resting positions made of the functions active near (x, y), each solved and checked
// against the full centre height; the lowest offered to `best`.
void settle(Query& q, double x, double y, double step, double reach, Best& best, int depth = 0) {
    const std::vector<Fn> act = q.active(x, y, step, 6);
    const std::size_t n = act.size();
    std::vector<Fn> fs;
    // Where the sphere resting on `rest` stops resting on it alone: the height it reaches
    // is then no longer rest − cap (another object lifts it, or it drops to a lower one).
    auto apart = [&](const Fn& rest, double px, double py, double slack) {
        const double predicted = q.value(rest, px, py) - q.cap(px, py);
        const double actual = q.reached(px, py);
        return !(std::fabs(actual - predicted) <= slack);
    };
    // The height reached from the start, the same for every attempt.
    const double here = q.reached(x, y);
    auto attempt = [&]() {
        // A sphere rests on the ground or an object's top: that one first, the rest its
        // conditions.
        const auto rest = std::find_if(fs.begin(), fs.end(), [](const Fn& f) { return f.holds(); });
        if (rest == fs.end()) return;
        std::iter_swap(fs.begin(), rest);
        double sx = x, sy = y;
        if (fs.size() == 1 && fs[0].kind == Fn::Kind::Ground) {
            sx = q.point().x, sy = q.point().y;
        } else {
            // Where Newton's method stops, settled or not, is a place the sphere can be:
            // its height is an honest candidate either way.
            q.solve(fs, sx, sy, reach);
        }
        best.offer(q.reached(sx, sy), sx, sy);
        // On the way from the start another object took over: the resting position lies
        // where it did, with that object among its conditions. Followed only where the
        // place reached promised a sphere lower than the best so far: the search only
        // offers spheres, the cells prove the answer whatever it leaves out.
        const double offset = std::fabs(here - (q.value(fs[0], x, y) - q.cap(x, y)));
        const double slack = 1e-7 + offset;
        const bool apartAtStart = !(offset <= slack);
        if (depth < 3 && std::isfinite(sx) && std::isfinite(sy) && !apartAtStart &&
            q.value(fs[0], sx, sy) - q.cap(sx, sy) < best.value && apart(fs[0], sx, sy, slack)) {
            // Halved until the bracket is shorter than 1e-10 m along the way.
            const double way = norm(sx - x, sy - y);
            double a = 0, b = 1;
            for (int i = 0; i < 50 && (b - a) * way > 1e-10; ++i) {
                const double m = (a + b) / 2;
                (apart(fs[0], x + m * (sx - x), y + m * (sy - y), slack) ? b : a) = m;
            }
            const double bx = x + a * (sx - x), by = y + a * (sy - y);
            best.offer(q.reached(bx, by), bx, by);
            settle(q, bx, by, 1e-6, reach, best, depth + 1);
        }
    };
    for (std::size_t i = 0; i < n; ++i) {
        fs = {act[i]};
        attempt();
        for (std::size_t j = i + 1; j < n; ++j) {
            fs = {act[i], act[j]};
            attempt();
            for (std::size_t k = j + 1; k < n; ++k) {
                fs = {act[i], act[j], act[k]};
                attempt();
            }
        }
    }
}

// A square cell of the plan (centre, half-side) and a lower bound on the height reached
// by the spheres centred above it.
struct Cell {
    double bound = 0, x = 0, y = 0, h = 0;
    bool operator>(const Cell& o) const { return bound > o.bound; }
};

// S(p) by branch and bound over the disk of centres: square cells, the one with the least
// lower bound split first; each cell's centre (or, outside the disk, its point nearest p) a
// genuine sphere, the least height one reaches the answer. A cell whose bound is not below
// the answer cannot hold a lower sphere and is dropped. The cells left at 0.5 mm are the
// places the lowest sphere may be: Newton's method on the resting positions there brings
// the answer down to the exact one, and the cells are split on until none can hold a
// sphere lower by more than 1e-6 m (the certificate, `gap`) or too many remain.
Touch touchAt(const Engine::Impl& e, Point2 p) {
    Query q(e, p);
    if (q.empty()) return {0, {p.x, p.y, e.hr}, 0};
    const double hr = e.hr;
    const double here = q.centre(p.x, p.y);
    if (here <= hr) return {0, {p.x, p.y, hr}, 0};

    constexpr double kPrune = 1e-9;    // a cell must promise this much lower to be kept
    constexpr double kCertain = 1e-6;  // the certificate sought
    constexpr double kLeaf = 5e-4;     // half-side where Newton's method takes over
    constexpr std::size_t kMostLeaves = 1 << 18;
    constexpr long kMostCells = 1 << 22;
    long cells = 0;
    Best best;
    best.offer(here - hr, p.x, p.y);
    auto visit = [&](double x, double y, double h, auto&& keep) {
        ++cells;
        const double bound = q.lowerBound(x, y, h);
        if (!(bound < best.value - kPrune)) return;
        double ux = x, uy = y;
        if (std::isnan(q.cap(x, y)))
            ux = std::clamp(p.x, x - h, x + h), uy = std::clamp(p.y, y - h, y + h);
        best.offer(q.reached(ux, uy), ux, uy);
        if (bound < best.value - kPrune) keep(Cell{bound, x, y, h});
    };

    std::priority_queue<Cell, std::vector<Cell>, std::greater<>> open;
    auto push = [&](const Cell& c) { open.push(c); };
    constexpr int kStart = 8;
    const double h0 = hr / kStart;
    for (int j = 0; j < kStart; ++j)
        for (int i = 0; i < kStart; ++i)
            visit(p.x - hr + (2 * i + 1) * h0, p.y - hr + (2 * j + 1) * h0, h0, push);
    std::vector<Cell> leaves;
    while (!open.empty() && cells < kMostCells) {
        const Cell c = open.top();
        if (!(c.bound < best.value - kPrune)) break;
        open.pop();
        if (c.h <= kLeaf) {
            leaves.push_back(c);
            continue;
        }
        const double k = c.h / 2;
        for (const auto& [sx, sy] : {std::pair{-1, -1}, {1, -1}, {-1, 1}, {1, 1}})
            visit(c.x + sx * k, c.y + sy * k, k, push);
    }

    // Every cell left had its bound above the answer: none can hold a lower sphere.
    if (!open.empty() && !(open.top().bound < best.value - kPrune)) open = {};

    // Newton's method from the best sphere so far and the lowest leaves, one start per
    // place.
    const double reach = hr / 6;
    auto polish = [&](std::vector<Cell>& from) {
        std::sort(from.begin(), from.end(),
                  [](const Cell& a, const Cell& b) { return a.bound < b.bound; });
        std::vector<Cell> starts{Cell{best.value, best.x, best.y, 0}};
        for (const Cell& c : from) {
            if (starts.size() >= 6) break;
            if (std::none_of(starts.begin(), starts.end(), [&](const Cell& s) {
                    return std::hypot(s.x - c.x, s.y - c.y) < 0.05;
                }))
                starts.push_back(c);
        }
        for (const Cell& c : starts) {
            Best solved;
            settle(q, c.x, c.y, 2 * kLeaf, reach, solved);
            if (solved.value < best.value) {
                best = solved;
                Best again;
                settle(q, solved.x, solved.y, 1e-6, reach, again);
                if (again.value < best.value) best = again;
            }
        }
    };
    auto prune = [&]() {
        std::erase_if(leaves, [&](const Cell& c) { return !(c.bound < best.value - kPrune); });
    };
    auto least = [&]() {
        double b = kInf;
        for (const Cell& c : leaves) b = std::min(b, c.bound);
        return b;
    };
    polish(leaves);
    prune();
    while (!leaves.empty() && open.empty() && best.value - least() > kCertain &&
           leaves.size() <= kMostLeaves && leaves.front().h > 1e-9 && cells < kMostCells) {
        std::vector<Cell> next;
        auto keep = [&](const Cell& c) { next.push_back(c); };
        for (const Cell& c : leaves) {
            const double k = c.h / 2;
            for (const auto& [sx, sy] : {std::pair{-1, -1}, {1, -1}, {-1, 1}, {1, 1}})
                visit(c.x + sx * k, c.y + sy * k, k, keep);
        }
        leaves = std::move(next);
        prune();
    }
    double lowest = least();
    if (!open.empty()) lowest = std::min(lowest, open.top().bound);
    const double s = std::max(0.0, best.value);
    const double gap = std::isfinite(lowest) ? std::max(0.0, best.value - lowest) : 0.0;
    return {s, {best.x, best.y, q.centre(best.x, best.y)}, gap};
}

// The same branch and bound with a looser aim, for maps and regions: S to within
// `certain` (no resting positions solved), or, with a threshold, only whether some sphere
// reaches below it (cells whose bound is not below the threshold dropped, the search
// stopped at the first sphere below it). Returns the least height found and how much
// lower a sphere could still reach; with a threshold, a height below it is a sphere that
// reaches there, and one not below it was proved not to.
//
// With a spread, the lowest height is a bound for every ground point of the square of
// half-side `spread` about p, and the height found the least a sphere reaches over that
// square: cells are split down to a sixteenth of the spread, below which the spread
// decides the bound. A hint is
// a centre tried first (a neighbouring point's lowest sphere), for an early answer to
// prune with.
Touch roughAt(const Engine::Impl& e, Point2 p, double certain, double threshold, double spread = 0,
              const Point2* hint = nullptr) {
    Query q(e, p, spread);
    const double hr = e.hr;
    if (q.empty()) return {0, {p.x, p.y, hr}, 0};
    const double here = q.centre(p.x, p.y);
    if (here <= hr) return {0, {p.x, p.y, hr}, 0};  // and no lower than the ground
    constexpr long kMostCells = 1 << 18;
    long cells = 0;
    Best best;
    best.offer(here - hr, p.x, p.y);
    const bool decide = std::isfinite(threshold);
    auto limit = [&] {
        return decide ? std::min(best.value - certain, threshold) : best.value - certain;
    };
    auto decided = [&] { return decide && best.value < threshold; };
    // With a spread, the least height a sphere centred over (x, y) reaches over the square:
    // its bottom above the square's point nearest to it.
    auto over = [&](double x, double y) {
        if (spread == 0) return q.reached(x, y);
        const double dx = std::max(0.0, std::fabs(x - p.x) - spread);
        const double dy = std::max(0.0, std::fabs(y - p.y) - spread);
        const double d2 = dx * dx + dy * dy;
        return d2 > hr * hr ? kInf : q.centre(x, y) - std::sqrt(hr * hr - d2);
    };
    if (hint) best.offer(over(hint->x, hint->y), hint->x, hint->y);
    const double smallest = std::max(1e-7, spread / 16);
    std::priority_queue<Cell, std::vector<Cell>, std::greater<>> open;
    auto visit = [&](double x, double y, double h) {
        ++cells;
        const double bound = q.lowerBound(x, y, h);
        if (!(bound < limit())) return;
        double ux = x, uy = y;
        if (spread == 0 && std::isnan(q.cap(x, y)))
            ux = std::clamp(p.x, x - h, x + h), uy = std::clamp(p.y, y - h, y + h);
        best.offer(over(ux, uy), ux, uy);
        if (bound < limit()) open.push(Cell{bound, x, y, h});
    };
    constexpr int kStart = 8;
    const double span = hr + spread * std::sqrt(2.0);
    const double h0 = span / kStart;
    for (int j = 0; j < kStart && !decided(); ++j)
        for (int i = 0; i < kStart; ++i)
            visit(p.x - span + (2 * i + 1) * h0, p.y - span + (2 * j + 1) * h0, h0);
    double undecided = kInf;
    while (!open.empty() && !decided() && cells < kMostCells) {
        const Cell c = open.top();
        if (!(c.bound < limit())) break;
        open.pop();
        if (c.h <= smallest) {  // as small as a cell can usefully be
            undecided = std::min(undecided, c.bound);
            continue;
        }
        const double k = c.h / 2;
        for (const auto& [sx, sy] : {std::pair{-1, -1}, {1, -1}, {-1, 1}, {1, 1}})
            visit(c.x + sx * k, c.y + sy * k, k);
    }
    double lowest = best.value;
    if (!decided()) {
        lowest = std::min(lowest, undecided);
        if (!open.empty() && open.top().bound < limit())
            lowest = std::min(lowest, open.top().bound);  // the cells ran out first
    }
    return {std::max(0.0, best.value),
            {best.x, best.y, q.centre(best.x, best.y)},
            std::max(0.0, best.value - lowest)};
}

// Whether S ≥ z at every ground point of the square of half-side hp about p: branch and
// bound over cells of centres with bounds that hold for the whole square, every cell's
// bound at or above z, or no proof (a sphere found that reaches below z over the square,
// the witness; a cell as small as it usefully gets still below z, or the cells run out).
// False is the safe answer. With `seek`, a search that can no longer prove goes on to
// look for a witness (within the same cells).
Proof provedAtLeast(const Engine::Impl& e, Point2 p, double hp, double z, long kMostCells,
                    bool seek) {
    Query q(e, p, hp);
    const double hr = e.hr;
    if (!(z > 0)) return {true, {}};
    if (q.empty()) return {false, Point3{p.x, p.y, hr}};  // open ground: S is 0
    if (const double c = q.centre(p.x, p.y); c - hr < z) return {false, Point3{p.x, p.y, c}};
    long cells = 0;
    bool failed = false, undecided = false;
    std::optional<Point3> witness;
    std::vector<Cell> open;
    auto visit = [&](double x, double y, double h) {
        ++cells;
        if (!(q.lowerBound(x, y, h) < z)) return;
        // The sphere centred over the cell's centre reaches lowest over the square at the
        // square's point nearest to it: below z there, it refutes the square.
        const double dx = std::max(0.0, std::fabs(x - p.x) - hp);
        const double dy = std::max(0.0, std::fabs(y - p.y) - hp);
        if (const double d2 = dx * dx + dy * dy; d2 <= hr * hr) {
            if (const double c = q.centre(x, y); c - std::sqrt(hr * hr - d2) < z) {
                failed = true;
                witness = Point3{x, y, c};
                return;
            }
        } else {
            const double ux = std::clamp(p.x, x - h, x + h), uy = std::clamp(p.y, y - h, y + h);
            if (q.reached(ux, uy) < z) {
                failed = true;  // a sphere reaches below z at p itself
                witness = Point3{ux, uy, q.centre(ux, uy)};
                return;
            }
        }
        // Smaller than the square of ground points by far: the spread decides the bound.
        // No proof; when a refuting sphere is sought, the search goes on for one.
        if (h < std::max(1e-7, hp / 64)) {
            undecided = true;
            failed = failed || !seek;
            return;
        }
        open.push_back(Cell{0, x, y, h});
    };
    const double span = hr + hp * std::sqrt(2.0);
    constexpr int kStart = 8;
    const double h0 = span / kStart;
    for (int j = 0; j < kStart && !failed; ++j)
        for (int i = 0; i < kStart && !failed; ++i)
            visit(p.x - span + (2 * i + 1) * h0, p.y - span + (2 * j + 1) * h0, h0);
    while (!open.empty() && !failed) {
        if (cells > kMostCells) return {false, {}};
        const Cell c = open.back();
        open.pop_back();
        const double k = c.h / 2;
        for (const auto& [sx, sy] : {std::pair{-1, -1}, {1, -1}, {-1, 1}, {1, 1}})
            if (!failed) visit(c.x + sx * k, c.y + sy * k, k);
    }
    return {!failed && !undecided, witness};
}

}  // namespace

// ---------------------------------------------------------------- the engine

Engine::Engine(const Site& site) : m(std::make_unique<Impl>()) {
    if (const std::string why = problemOf(site); !why.empty()) throw std::invalid_argument(why);
    m->hr = site.hr;
    m->buildings = site.buildings;
    auto add = [&](Piece p) {
        p.box = {std::min(p.ax, p.bx), std::min(p.ay, p.by), std::max(p.ax, p.bx),
                 std::max(p.ay, p.by)};
        m->pieces.push_back(p);
    };
    for (const Rod& r : site.rods) {
        Piece p;
        p.ax = p.bx = r.x, p.ay = p.by = r.y, p.zlo = r.base, p.zhi = r.tip;
        add(p);
        m->highest = std::max(m->highest, r.tip);
    }
    auto addCurve = [&](const Point3& a, const Point3& b, double sag) {
        Piece p;
        p.ax = a.x, p.ay = a.y, p.az = a.z, p.bx = b.x, p.by = b.y, p.bz = b.z;
        m->highest = std::max({m->highest, a.z, b.z});
        if (std::hypot(b.x - a.x, b.y - a.y) < 1e-9) {
            // Vertical: a rod.
            p.zlo = std::min(a.z, b.z), p.zhi = std::max(a.z, b.z);
            add(p);
            return;
        }
        p.kind = Piece::Kind::Curve;
        p.sag = sag;
        add(p);
    };
    for (const Conductor& c : site.conductors) addCurve(c.from, c.to, 0);
    for (const Wire& w : site.wires) addCurve(w.from, w.to, *sagOf(w));
    for (const Building& b : site.buildings) {
        const int index = static_cast<int>(m->polygons.size());
        m->polygons.push_back(b.outline);
        m->highest = std::max(m->highest, b.roof);
        const std::size_t n = b.outline.size();
        for (std::size_t i = 0; i < n; ++i) {
            Piece p;
            p.ax = b.outline[i].x, p.ay = b.outline[i].y;
            p.bx = b.outline[(i + 1) % n].x, p.by = b.outline[(i + 1) % n].y;
            p.zlo = b.base, p.zhi = b.roof;
            add(p);
        }
        Piece in;
        in.kind = Piece::Kind::Inside;
        in.polygon = index, in.zlo = b.base, in.zhi = b.roof;
        add(in);
        Box& box = m->pieces.back().box;
        box = {kInf, kInf, -kInf, -kInf};
        for (const Point2& v : b.outline)
            box = {std::min(box.minX, v.x), std::min(box.minY, v.y), std::max(box.maxX, v.x),
                   std::max(box.maxY, v.y)};
    }
    if (m->pieces.empty()) return;
    Box all{kInf, kInf, -kInf, -kInf};
    for (const Piece& p : m->pieces)
        all = {std::min(all.minX, p.box.minX), std::min(all.minY, p.box.minY),
               std::max(all.maxX, p.box.maxX), std::max(all.maxY, p.box.maxY)};
    m->bounds = all;
    // Cells of Hr, fewer and larger on a very wide site.
    const double w = all.maxX - all.minX + 2 * m->hr, h = all.maxY - all.minY + 2 * m->hr;
    m->cell = std::max({m->hr, w / 1024, h / 1024});
    m->gx0 = all.minX - m->hr, m->gy0 = all.minY - m->hr;
    m->nx = std::max(1, static_cast<int>(std::ceil(w / m->cell)));
    m->ny = std::max(1, static_cast<int>(std::ceil(h / m->cell)));
    m->cells.assign(static_cast<std::size_t>(m->nx) * static_cast<std::size_t>(m->ny), {});
    for (std::size_t k = 0; k < m->pieces.size(); ++k) {
        const Box& b = m->pieces[k].box;
        const int i0 = std::max(0, static_cast<int>((b.minX - m->hr - m->gx0) / m->cell));
        const int i1 = std::min(m->nx - 1, static_cast<int>((b.maxX + m->hr - m->gx0) / m->cell));
        const int j0 = std::max(0, static_cast<int>((b.minY - m->hr - m->gy0) / m->cell));
        const int j1 = std::min(m->ny - 1, static_cast<int>((b.maxY + m->hr - m->gy0) / m->cell));
        for (int j = j0; j <= j1; ++j)
            for (int i = i0; i <= i1; ++i)
                m->cells[static_cast<std::size_t>(j) * static_cast<std::size_t>(m->nx) +
                         static_cast<std::size_t>(i)]
                    .push_back(static_cast<int>(k));
    }
    m->within.assign(m->cells.size(), {});
    for (std::size_t k = 0; k < m->pieces.size(); ++k) {
        const Box& b = m->pieces[k].box;
        const double r = 2 * m->hr;
        const int i0 = std::max(0, static_cast<int>(std::floor((b.minX - r - m->gx0) / m->cell)));
        const int i1 =
            std::min(m->nx - 1, static_cast<int>(std::floor((b.maxX + r - m->gx0) / m->cell)));
        const int j0 = std::max(0, static_cast<int>(std::floor((b.minY - r - m->gy0) / m->cell)));
        const int j1 =
            std::min(m->ny - 1, static_cast<int>(std::floor((b.maxY + r - m->gy0) / m->cell)));
        for (int j = j0; j <= j1; ++j)
            for (int i = i0; i <= i1; ++i)
                m->within[static_cast<std::size_t>(j) * static_cast<std::size_t>(m->nx) +
                          static_cast<std::size_t>(i)]
                    .push_back(static_cast<int>(k));
    }
}

Engine::~Engine() = default;
Engine::Engine(Engine&&) noexcept = default;
Engine& Engine::operator=(Engine&&) noexcept = default;

double Engine::hr() const {
    return m->hr;
}
Box Engine::bounds() const {
    return m->bounds;
}
double Engine::highest() const {
    return m->highest;
}
const std::vector<Building>& Engine::buildings() const {
    return m->buildings;
}

double Engine::surface(Point2 p) const {
    return touchAt(*m, p).s;
}

Touch Engine::touch(Point2 p) const {
    return touchAt(*m, p);
}

double Engine::roughSurface(Point2 p, double within) const {
    return roughAt(*m, p, std::max(within, 1e-9), kInf).s;
}

double Engine::surfaceFloor(Point2 p, double within) const {
    within = std::max(within, 1e-9);
    const Touch t = roughAt(*m, p, within, kInf);
    // Cells dropped for promising less than `within` below the best may still hold it.
    return std::max(0.0, t.s - std::max(t.gap, within));
}

namespace {

// The nodes of a map of `step` metres over a box, every value 0 (none for an unusable step
// or box).
SurfaceGrid nodesOf(Box box, double step) {
    SurfaceGrid g;
    g.box = box;
    g.step = step;
    if (!(step > 0) || !std::isfinite(step) || !(box.maxX >= box.minX) || !(box.maxY >= box.minY))
        return g;
    const double nx = std::floor((box.maxX - box.minX) / step + 1e-9) + 1;
    const double ny = std::floor((box.maxY - box.minY) / step + 1e-9) + 1;
    if (!(nx * ny <= 1e8)) throw std::invalid_argument("grid too fine for its box");
    g.nx = static_cast<int>(nx), g.ny = static_cast<int>(ny);
    g.s.assign(static_cast<std::size_t>(g.nx) * static_cast<std::size_t>(g.ny), 0);
    return g;
}

}  // namespace

SurfaceGrid Engine::grid(Box box, double step) const {
    SurfaceGrid g = nodesOf(box, step);
    parallelFor(g.s.size(), [&](std::size_t k) {
        const std::size_t column = k % static_cast<std::size_t>(g.nx);
        const std::size_t row = k / static_cast<std::size_t>(g.nx);
        const double x = box.minX + static_cast<double>(column) * step;
        const double y = box.minY + static_cast<double>(row) * step;
        g.s[k] = surfaceFloor({x, y}, 1e-3);
    });
    return g;
}

SurfaceGrid Engine::liveMap(Box box, double step, double within) const {
    SurfaceGrid g = nodesOf(box, step);
    within = std::max(within, 1e-6);
    // Row by row, each node's search started from the sphere its left neighbour found.
    parallelFor(static_cast<std::size_t>(g.ny), [&](std::size_t j) {
        std::optional<Point2> hint;
        for (std::size_t i = 0; i < static_cast<std::size_t>(g.nx); ++i) {
            const Point2 p{box.minX + static_cast<double>(i) * step,
                           box.minY + static_cast<double>(j) * step};
            const Touch t = roughAt(*m, p, within, kInf, step / 2, hint ? &*hint : nullptr);
            g.s[j * static_cast<std::size_t>(g.nx) + i] =
                std::max(0.0, t.s - std::max(t.gap, within));
            hint = Point2{t.centre.x, t.centre.y};
        }
    });
    return g;
}

bool Engine::reachesBelow(Point2 p, double z) const {
    if (!(z > 0)) return false;
    const Touch t = roughAt(*m, p, 0, z);
    if (t.s < z) return true;
    if (t.gap == 0) return false;
    // Undecided by the cells alone: the exact search.
    return touchAt(*m, p).s < z;
}

bool Engine::provesAtLeast(Point2 centre, double half, double z) const {
    return provedAtLeast(*m, centre, std::max(0.0, half), z, 1 << 14, false).proved;
}

Proof Engine::proveAtLeast(Point2 centre, double half, double z, long cells) const {
    return provedAtLeast(*m, centre, std::max(0.0, half), z, cells, true);
}

bool Engine::clearOf(Point3 c, double margin) const {
    for (const Piece& piece : m->pieces) {
        const Interval iv = m->interval(piece, c.x, c.y);
        if (iv.defined && c.z > iv.lo - margin && c.z < iv.hi + margin) return false;
    }
    return true;
}

double Engine::lowestCentre(Point2 q) const {
    Query query(*m, q);
    return query.empty() ? m->hr : query.centre(q.x, q.y);
}

std::vector<double> Engine::profile(Point2 a, Point2 b, int n) const {
    n = std::max(1, n);
    std::vector<double> out;
    out.reserve(static_cast<std::size_t>(n) + 1);
    for (int i = 0; i <= n; ++i) {
        const double t = static_cast<double>(i) / n;
        out.push_back(surface({a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t}));
    }
    return out;
}

Lowest Engine::lowestAlong(Point2 a, Point2 b, double step) const {
    const double len = std::hypot(b.x - a.x, b.y - a.y);
    const int n = std::max(1, static_cast<int>(std::ceil(len / std::max(step, 1e-3))));
    auto at = [&](double t) { return Point2{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t}; };
    std::vector<double> s = profile(a, b, n);
    Lowest best{a, s[0]};
    std::vector<int> order(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) order[i] = static_cast<int>(i);
    std::sort(order.begin(), order.end(), [&](int x, int y) {
        return s[static_cast<std::size_t>(x)] < s[static_cast<std::size_t>(y)];
    });
    for (std::size_t k = 0; k < std::min<std::size_t>(3, order.size()); ++k) {
        const int i = order[k];
        if (s[static_cast<std::size_t>(i)] < best.s) best = {at(double(i) / n), s[std::size_t(i)]};
        // A golden section between the neighbours.
        double lo = std::max(0, i - 1) / double(n), hi = std::min(n, i + 1) / double(n);
        constexpr double kPhi = 0.6180339887498949;
        double c = hi - kPhi * (hi - lo), d = lo + kPhi * (hi - lo);
        double sc = surface(at(c)), sd = surface(at(d));
        while ((hi - lo) * len > 1e-7) {
            if (sc < sd)
                hi = d, d = c, sd = sc, c = hi - kPhi * (hi - lo), sc = surface(at(c));
            else
                lo = c, c = d, sc = sd, d = lo + kPhi * (hi - lo), sd = surface(at(d));
        }
        for (const auto& [t, v] : {std::pair{c, sc}, std::pair{d, sd}})
            if (v < best.s) best = {at(t), v};
    }
    return best;
}

double surfaceOf(double hr, const std::vector<Rod>& rods, const std::vector<Wire>& wires,
                 Point2 p) {
    Site site;
    site.hr = hr, site.rods = rods, site.wires = wires;
    return Engine(site).surface(p);
}

Lowest lowestAlongOf(double hr, const std::vector<Rod>& rods, const std::vector<Wire>& wires,
                     Point2 a, Point2 b) {
    Site site;
    site.hr = hr, site.rods = rods, site.wires = wires;
    return Engine(site).lowestAlong(a, b);
}

}  // namespace tervalen::sphere

#include "calc/sphere/form_check.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <exception>
#include <limits>
#include <map>
#include <mutex>

#include "calc/sphere/engine.h"

namespace tervalen {

namespace {

// The largest sphere the engine takes (a site's problemOf refuses larger ones).
constexpr double kLargestSphere = 1000;

// A sphere this close to the plane taken as the ground rests on it.
constexpr double kOnTheGround = 1e-3;

// A width narrower than this is not asked about: the point lies against the rod or the
// wire, where S is the object's own height and says nothing of the formula.
constexpr double kNarrowest = 0.01;

// How far the printed width of an edge may be from the exact one: its 7 digits and its
// single precision, relative to its size.
constexpr double kWidthDigits = 1e-6;

// How steeply S rises at the edge of a width on the plane z above the base: the slope of
// a sphere resting on the base where its surface crosses z.
double edgeSlope(double z, double Hr) {
    const double r2 = z * (2 * Hr - z);
    if (!(Hr - z > 0) || !(r2 >= 0)) return std::numeric_limits<double>::infinity();
    return std::sqrt(r2) / (Hr - z);
}

double tolerance(const SpherePoint& p, const SphereArrangement& a) {
    const double t = agreementTolerance(p.value, a.site.hr);
    if (!p.edge) return t;
    return t + edgeSlope(a.Hx - a.base, a.site.hr) * kWidthDigits *
                   std::max(1.0, std::fabs(p.shownValue));
}

// The answers already found, by site and point: a press made again (a project read, a
// form opened again with its press, the same press in another record) asks nothing new.
// The engine's answer depends on nothing else, so a kept one is the one it would give.
class Answers {
public:
    std::string key(const sphere::Site& site, sphere::Point2 p) const {
        std::string k;
        const auto put = [&](double v) {
            char bytes[sizeof v];
            std::memcpy(bytes, &v, sizeof v);
            k.append(bytes, sizeof v);
        };
        put(site.hr);
        for (const sphere::Rod& r : site.rods) put(r.x), put(r.y), put(r.base), put(r.tip);
        k += '|';
        for (const sphere::Conductor& c : site.conductors)
            put(c.from.x), put(c.from.y), put(c.from.z), put(c.to.x), put(c.to.y), put(c.to.z);
        k += '|';
        for (const sphere::Wire& w : site.wires) {
            put(w.from.x), put(w.from.y), put(w.from.z), put(w.to.x), put(w.to.y), put(w.to.z);
            put(w.sag.value_or(-1));
        }
        k += '|';
        for (const sphere::Building& b : site.buildings) {
            put(b.base), put(b.roof);
            for (const sphere::Point2& q : b.outline) put(q.x), put(q.y);
            k += '/';
        }
        k += '|';
        put(p.x), put(p.y);
        return k;
    }
    std::optional<sphere::Touch> find(const std::string& k) {
        const std::lock_guard lock(m_mutex);
        const auto it = m_kept.find(k);
        if (it == m_kept.end()) return std::nullopt;
        return it->second;
    }
    void keep(std::string k, sphere::Touch t) {
        const std::lock_guard lock(m_mutex);
        // A bound on the memory: start again rather than grow without end.
        if (m_kept.size() >= 4096) m_kept.clear();
        m_kept.emplace(std::move(k), t);
    }

private:
    std::mutex m_mutex;
    std::map<std::string, sphere::Touch> m_kept;
};

Answers& answers() {
    static Answers kept;
    return kept;
}

std::string metres(double v) {
    return shown(v) + " m";
}

// "公式 Ho = 15.68 m" for a height, "公式宽度 Bx = 7.396033 m" for an edge.
std::string formulaValue(const SpherePoint& p) {
    return std::string(p.edge ? "公式宽度 " : "公式 ") + p.symbol + " = " + metres(p.shownValue);
}

std::string joined(const std::vector<std::string>& parts, std::string_view sep) {
    std::string out;
    for (const std::string& s : parts) out += (out.empty() ? "" : std::string(sep)) + s;
    return out;
}

}  // namespace

double agreementTolerance(double value, double Hr) {
    return 1e-4 + 2e-7 * std::max(std::fabs(value), std::fabs(Hr));
}

SphereCheck checkWithSphere(const SphereArrangement& arrangement,
                            const std::vector<SpherePoint>& points) {
    SphereCheck c;
    const double Hr = arrangement.site.hr;
    if (!(Hr > 0) || Hr > kLargestSphere) {
        c.why = "滚球半径 Hr = " + metres(Hr) + " 不在精确计算所取的范围（大于 0、不超过 " +
                metres(kLargestSphere) + "）内";
        return c;
    }
    if (std::string why = sphere::problemOf(arrangement.site); !why.empty()) {
        c.why = std::move(why);
        return c;
    }
    std::vector<double> lower;
    try {
        std::optional<sphere::Engine> engine;
        for (const SpherePoint& p : points) {
            std::string key = answers().key(arrangement.site, p.at);
            std::optional<sphere::Touch> kept = answers().find(key);
            if (!kept) {
                if (!engine) engine.emplace(arrangement.site);
                kept = engine->touch(p.at);
                answers().keep(std::move(key), *kept);
            }
            const sphere::Touch t = *kept;
            SphereProbe probe{p, t.s, Agreement::Agrees};
            const double tol = tolerance(p, arrangement);
            // The sphere found is a genuine one: S is at most t.s, at least t.s − gap.
            if (p.claim == Claim::Exact || p.claim == Claim::AtLeast) {
                if (t.s < p.value - tol)
                    probe.agreement = Agreement::FormulaUnsafe;
                else if (p.claim == Claim::Exact && t.s - t.gap > p.value + tol)
                    probe.agreement = Agreement::FormulaSafer;
            }
            c.probes.push_back(std::move(probe));
            lower.push_back(t.s - t.gap);
        }
    } catch (const std::exception& e) {
        c.why = e.what();
        c.probes.clear();
        return c;
    }
    c.done = true;
    // The weakest point: inside the figure if it has such points, else its lowest edge.
    const bool anyInside = std::any_of(c.probes.begin(), c.probes.end(),
                                       [](const SphereProbe& p) { return !p.point.edge; });
    for (std::size_t i = 0; i < c.probes.size(); ++i) {
        if (anyInside && c.probes[i].point.edge) continue;
        if (!c.weakest || lower[i] < lower[*c.weakest]) c.weakest = i;
    }
    if (c.weakest) {
        // Inside the figure, a sphere that comes down to the plane taken as the ground
        // reaches that plane: it is not protected there, whatever Hx.
        const SphereProbe& w = c.probes[*c.weakest];
        c.covered = lower[*c.weakest] >= arrangement.Hx - tolerance(w.point, arrangement) &&
                    (w.point.edge || w.s > arrangement.base + kOnTheGround);
    }
    return c;
}

void recordSphereCheck(const SphereCheck& check, const SphereArrangement& arrangement,
                       Recorder& rec, Warnings& warnings) {
    const std::string head(kSphereCheck);
    const double Hx = arrangement.Hx;
    if (!check.done) {
        rec.note(head + "未校核（" + check.why + "）");
        return;
    }
    if (!check.weakest) {
        rec.note(head + "Hx 高度没有可校核的保护宽度（宽度小于 " + shown(kNarrowest) +
                 " m 或为负）");
        return;
    }
    const SphereProbe& w = check.probes[*check.weakest];
    std::string line = head + w.point.place + " S = " + metres(w.s);
    if (w.point.edge && check.covered)
        line += "，即 Hx = " + metres(Hx) + "，为保护范围的边缘";
    else if (!w.point.edge && w.s <= arrangement.base + kOnTheGround)
        line += std::string("，滚球落至") + (arrangement.base > 0 ? "屋面" : "地面") +
                "，该处在 Hx 高度无保护";
    else if (check.covered)
        line += " ≥ Hx = " + metres(Hx) + "，该处在 Hx 高度受保护";
    else
        line += " < Hx = " + metres(Hx) + "，该处在 Hx 高度无保护";

    std::vector<std::string> agree, safer, unsafe;
    for (std::size_t i = 0; i < check.probes.size(); ++i) {
        const SphereProbe& p = check.probes[i];
        if (p.point.claim == Claim::None) continue;
        // The weakest point's S is stated already.
        const std::string sphere = i == *check.weakest
                                       ? "滚球几何"
                                       : "滚球几何" + p.point.place + " S = " + metres(p.s) + "，";
        switch (p.agreement) {
            case Agreement::Agrees:
                agree.push_back(p.point.symbol);
                break;
            case Agreement::FormulaSafer:
                safer.push_back(formulaValue(p.point) + "，" + sphere +
                                (i == *check.weakest ? "高于公式，" : "") + "公式偏于安全");
                break;
            case Agreement::FormulaUnsafe:
                unsafe.push_back(formulaValue(p.point) + "，" + sphere +
                                 (i == *check.weakest ? "低于公式，" : "") +
                                 "公式偏于不安全，以滚球几何为准");
                break;
        }
    }
    if (!agree.empty()) line += "；" + joined(agree, "、") + " 与公式相符";
    for (const std::string& s : safer) line += "；" + s;
    for (const std::string& s : unsafe) line += "；" + s;
    if (!arrangement.model.empty()) line += "（" + arrangement.model + "）";
    rec.note(line);

    for (const SphereProbe& p : check.probes) {
        const bool below = p.s < Hx - tolerance(p.point, arrangement);
        std::string text;
        if (p.agreement == Agreement::FormulaUnsafe) {
            text = "滚球几何 S = " + metres(p.s) + (below ? " < Hx = " + metres(Hx) : " 低于公式") +
                   "；" + formulaValue(p.point) + " 偏于不安全";
        } else if (p.point.claim == Claim::None && below) {
            text = "滚球几何 S = " + metres(p.s) + " < Hx = " + metres(Hx);
        } else {
            continue;
        }
        warnings.push_back({p.point.mark, p.point.place,
                            below ? std::string(kUncovered) + "（" + text + "）"
                                  : "保护高度不足（" + text + "）"});
    }
}

SphereCheck crossCheck(const SphereArrangement& arrangement, const std::vector<SpherePoint>& points,
                       Recorder& rec, Warnings& warnings) {
    SphereCheck check = checkWithSphere(arrangement, points);
    recordSphereCheck(check, arrangement, rec, warnings);
    return check;
}

// ---------------------------------------------------------------- the calculators' figures

SphereCheck checkRodsWithSphere(const SphereRods& f, Recorder& rec, Warnings& warnings) {
    SphereArrangement a;
    a.site.hr = f.Hr;
    a.Hx = f.Hx;
    const bool roof = f.onRoof && f.Hx > 0;
    a.base = roof ? f.Hx : 0.0;
    const double s = std::fabs(f.spacing);
    std::vector<sphere::Point2> at;
    switch (f.rods) {
        case 1:
            at = {{0, 0}};
            break;
        case 2:
            at = {{-s / 2, 0}, {s / 2, 0}};
            break;
        case 3: {
            const double R = s / std::sqrt(3.0);
            at = {{R, 0}, {-R / 2, s / 2}, {-R / 2, -s / 2}};
            break;
        }
        default:
            at = {{-s / 2, -s / 2}, {s / 2, -s / 2}, {s / 2, s / 2}, {-s / 2, s / 2}};
            break;
    }
    for (const sphere::Point2& p : at) a.site.rods.push_back({p.x, p.y, a.base, f.tip});
    if (roof) {
        // Far enough out that no sphere touching a point asked about meets its edge.
        const double half =
            s + f.Rx.value_or(0) + std::fabs(f.Bx.value_or(0)) + 2 * std::fabs(f.Hr) + 1;
        a.site.buildings.push_back(
            {"屋面", {{-half, -half}, {half, -half}, {half, half}, {-half, half}}, 0, f.Hx});
        a.model = "屋面按 Hx 高度、向四周伸出 2Hr 以上的平屋顶计";
    } else {
        a.model = f.model;
    }

    std::vector<SpherePoint> points;
    const auto edge = [&](std::string place, Place mark, sphere::Point2 p, std::string_view symbol,
                          double width, Claim claim) {
        if (!(width >= kNarrowest)) return;
        points.push_back(
            {std::move(place), mark, p, std::string(symbol), width, f.Hx, claim, true});
    };
    // A lowest point below the base says the sphere comes down to it.
    const auto height = [&](std::string place, Place mark, sphere::Point2 p,
                            std::string_view symbol, double value) {
        points.push_back({std::move(place), mark, p, std::string(symbol), value,
                          a.base + std::max(value, 0.0), Claim::Exact});
    };
    const Claim width = f.widthRequired ? Claim::AtLeast : Claim::Exact;
    switch (f.rods) {
        case 1:
            if (f.Rx) edge("距针 Rx 处", Place::BetweenRods, {*f.Rx, 0}, "Rx", *f.Rx, Claim::Exact);
            break;
        case 2:
            height("两针连线中点", Place::BetweenRods, {0, 0}, f.ho, f.Ho);
            if (f.Bx)
                edge("两针之间距连线 " + std::string(f.bx) + " 处", Place::BetweenRods, {0, *f.Bx},
                     f.bx, *f.Bx, width);
            if (f.Rx)
                edge("针外侧 Rx 处", Place::BetweenRods, {s / 2 + *f.Rx, 0}, "Rx", *f.Rx,
                     Claim::Exact);
            break;
        case 3: {
            const double R = s / std::sqrt(3.0);
            height("三角形边中点", Place::BetweenRods, {-R / 2, 0}, f.ho, f.Ho);
            if (f.centre) height("三针中心", Place::Centre, {0, 0}, f.centreSymbol, *f.centre);
            if (f.Bx)
                edge("三角形边外侧距边 " + std::string(f.bx) + " 处", Place::BetweenRods,
                     {-R / 2 - *f.Bx, 0}, f.bx, *f.Bx, width);
            if (f.Rx)
                edge("针外侧 Rx 处", Place::BetweenRods, {R + *f.Rx, 0}, "Rx", *f.Rx, Claim::Exact);
            break;
        }
        default: {
            height("正方形边中点", Place::BetweenRods, {0, -s / 2}, f.ho, f.Ho);
            if (f.centre) height("正方形中心", Place::Centre, {0, 0}, f.centreSymbol, *f.centre);
            if (f.Bx)
                edge("正方形边外侧距边 " + std::string(f.bx) + " 处", Place::BetweenRods,
                     {0, -s / 2 - *f.Bx}, f.bx, *f.Bx, width);
            if (f.Rx) {
                const double out = s / 2 + *f.Rx / std::sqrt(2.0);
                edge("角针外侧 Rx 处", Place::BetweenRods, {out, out}, "Rx", *f.Rx, Claim::Exact);
            }
            break;
        }
    }
    return crossCheck(a, points, rec, warnings);
}

SphereCheck checkWiresWithSphere(const SphereWires& f, Recorder& rec, Warnings& warnings) {
    SphereArrangement a;
    a.site.hr = f.Hr;
    a.Hx = f.Hx;
    const double half = std::fabs(f.span) / 2;
    std::vector<double> ys{0};
    if (f.wires == 2) ys = {-std::fabs(f.apart) / 2, std::fabs(f.apart) / 2};
    // The supports are masts as high as the wire. No higher than the sphere's radius, a
    // mast stops no sphere the end of the wire on it does not stop (a centre at or above
    // Hr is nearer the top of the mast than any point below it), so it is left out.
    const bool masts = f.H > f.Hr;
    for (const double y : ys) {
        a.site.wires.push_back({{-half, y, f.H}, {half, y, f.H}, f.sag});
        if (!masts) continue;
        a.site.rods.push_back({-half, y, 0, f.H});
        a.site.rods.push_back({half, y, 0, f.H});
    }
    a.model =
        std::string(masts ? "支柱按与避雷线等高的杆计，" : "") + "弧垂 " + shown(f.sag) + " m";

    std::vector<SpherePoint> points;
    const auto edge = [&](std::string place, Place mark, sphere::Point2 p, std::string_view symbol,
                          double width) {
        if (!(width >= kNarrowest)) return;
        points.push_back(
            {std::move(place), mark, p, std::string(symbol), width, f.Hx, Claim::Exact, true});
    };
    const auto height = [&](std::string place, Place mark, sphere::Point2 p,
                            std::string_view symbol, double value) {
        points.push_back({std::move(place), mark, p, std::string(symbol), value,
                          std::max(value, 0.0), Claim::Exact});
    };
    if (f.wires == 1) {
        if (f.Bx1) edge("档距中央距线 Bx1 处", Place::MidSpan, {0, *f.Bx1}, "Bx1", *f.Bx1);
        if (f.Bx2) edge("支柱处距线 Bx2 处", Place::Supports, {half, *f.Bx2}, "Bx2", *f.Bx2);
    } else {
        if (f.Ho) height("两线之间档距中央", Place::BetweenWires, {0, 0}, "Ho", *f.Ho);
        if (f.Hoe) height("两线之间支柱处", Place::WireEnds, {half, 0}, f.hoe, *f.Hoe);
        if (f.Bx1)
            edge("支柱外侧距支柱 Bx1 处", Place::WireEnds, {half + *f.Bx1, 0}, "Bx1", *f.Bx1);
    }
    return crossCheck(a, points, rec, warnings);
}

}  // namespace tervalen

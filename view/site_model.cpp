#include "view/site_model.h"

#include <QStringList>
#include <QUndoCommand>
#include <cmath>

#include "drawing/number_text.h"
#include "forms/number.h"
#include "site/site_file.h"

namespace tervalen::view {

int countOf(const sphere::Site& site, SiteKind kind) {
    switch (kind) {
        case SiteKind::Building:
            return int(site.buildings.size());
        case SiteKind::Rod:
            return int(site.rods.size());
        case SiteKind::Conductor:
            return int(site.conductors.size());
        case SiteKind::Wire:
            return int(site.wires.size());
    }
    return 0;
}

namespace {

template <class T>
void eraseAt(std::vector<T>& v, int i) {
    if (i >= 0 && i < int(v.size())) v.erase(v.begin() + i);
}

std::optional<double> number(const QString& text) {
    return forms::toDouble(text.trimmed().toStdString());
}

}  // namespace

sphere::Site without(const sphere::Site& site, SiteRef ref) {
    sphere::Site out = site;
    switch (ref.kind) {
        case SiteKind::Building:
            eraseAt(out.buildings, ref.index);
            break;
        case SiteKind::Rod:
            eraseAt(out.rods, ref.index);
            break;
        case SiteKind::Conductor:
            eraseAt(out.conductors, ref.index);
            break;
        case SiteKind::Wire:
            eraseAt(out.wires, ref.index);
            break;
    }
    return out;
}

QString numberShown(double value) {
    return QString::fromStdString(drawing::numberText(value, 10, 1e-9));
}

QString outlineText(const std::vector<sphere::Point2>& outline) {
    QStringList corners;
    for (const sphere::Point2& p : outline)
        corners << numberShown(p.x) + QStringLiteral(", ") + numberShown(p.y);
    return corners.join(QStringLiteral("; "));
}

std::optional<std::vector<sphere::Point2>> parseOutline(const QString& text) {
    std::vector<sphere::Point2> out;
    // Corners apart by ";" (or the full-width "；"), a corner's two numbers by "," or "，".
    QString t = text;
    t.replace(QChar(0xFF1B), QLatin1Char(';')).replace(QChar(0xFF0C), QLatin1Char(','));
    for (const QString& corner : t.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        if (corner.trimmed().isEmpty()) continue;
        const QStringList xy = corner.split(QLatin1Char(','));
        if (xy.size() != 2) return std::nullopt;
        const auto x = number(xy[0]), y = number(xy[1]);
        if (!x || !y) return std::nullopt;
        out.push_back({*x, *y});
    }
    return out;
}

QStringList fieldHeaders(SiteKind kind) {
    switch (kind) {
        case SiteKind::Building:
            return {QStringLiteral("名称"), QStringLiteral("底高 (m)"),
                    QStringLiteral("屋面高 (m)"), QStringLiteral("轮廓 x, y; … (m)"),
                    QStringLiteral("图层")};
        case SiteKind::Rod:
            return {QStringLiteral("X (m)"), QStringLiteral("Y (m)"), QStringLiteral("底高 (m)"),
                    QStringLiteral("顶高 (m)")};
        case SiteKind::Conductor:
            return {QStringLiteral("起点 X"), QStringLiteral("起点 Y"), QStringLiteral("起点高"),
                    QStringLiteral("终点 X"), QStringLiteral("终点 Y"), QStringLiteral("终点高")};
        case SiteKind::Wire:
            return {QStringLiteral("支点1 X"),
                    QStringLiteral("支点1 Y"),
                    QStringLiteral("支点1 高"),
                    QStringLiteral("支点2 X"),
                    QStringLiteral("支点2 Y"),
                    QStringLiteral("支点2 高"),
                    QStringLiteral("弧垂 (m，空为按规则)")};
    }
    return {};
}

namespace {

// The six numbers of two points, in table order.
double* pointField(sphere::Point3& from, sphere::Point3& to, int field) {
    switch (field) {
        case 0:
            return &from.x;
        case 1:
            return &from.y;
        case 2:
            return &from.z;
        case 3:
            return &to.x;
        case 4:
            return &to.y;
        case 5:
            return &to.z;
    }
    return nullptr;
}

}  // namespace

QString fieldText(const sphere::Site& site, SiteRef ref, int field) {
    if (ref.index < 0 || ref.index >= countOf(site, ref.kind)) return {};
    const auto i = std::size_t(ref.index);
    switch (ref.kind) {
        case SiteKind::Building: {
            const sphere::Building& b = site.buildings[i];
            switch (field) {
                case 0:
                    return QString::fromStdString(b.name);
                case 1:
                    return numberShown(b.base);
                case 2:
                    return numberShown(b.roof);
                case 3:
                    return outlineText(b.outline);
                case 4:
                    return QString::fromStdString(b.layer);
            }
            return {};
        }
        case SiteKind::Rod: {
            const sphere::Rod& r = site.rods[i];
            const double v[] = {r.x, r.y, r.base, r.tip};
            return field >= 0 && field < 4 ? numberShown(v[field]) : QString();
        }
        case SiteKind::Conductor: {
            sphere::Conductor c = site.conductors[i];
            const double* v = pointField(c.from, c.to, field);
            return v ? numberShown(*v) : QString();
        }
        case SiteKind::Wire: {
            sphere::Wire w = site.wires[i];
            if (field == 6) return w.sag ? numberShown(*w.sag) : QString();
            const double* v = pointField(w.from, w.to, field);
            return v ? numberShown(*v) : QString();
        }
    }
    return {};
}

FieldEdit withField(const sphere::Site& site, SiteRef ref, int field, const QString& text) {
    FieldEdit out{site, {}};
    if (ref.index < 0 || ref.index >= countOf(site, ref.kind)) {
        out.problem = QStringLiteral("没有这个对象");
        return out;
    }
    const auto i = std::size_t(ref.index);
    const QString notNumber = QStringLiteral("“%1”不是数").arg(text.trimmed());
    auto setNumber = [&](double& target) {
        if (const auto v = number(text))
            target = *v;
        else
            out.problem = notNumber;
    };
    switch (ref.kind) {
        case SiteKind::Building: {
            sphere::Building& b = out.site.buildings[i];
            switch (field) {
                case 0:
                    if (text.trimmed().isEmpty())
                        out.problem = QStringLiteral("建筑物的名称不能为空");
                    else
                        b.name = text.trimmed().toStdString();
                    break;
                case 1:
                    setNumber(b.base);
                    break;
                case 2:
                    setNumber(b.roof);
                    break;
                case 3:
                    if (auto outline = parseOutline(text))
                        b.outline = std::move(*outline);
                    else
                        out.problem =
                            QStringLiteral("轮廓应写成“x, y; x, y; …”（各角点的坐标，单位 m）");
                    break;
                case 4:
                    b.layer = text.trimmed().toStdString();
                    break;
                default:
                    out.problem = QStringLiteral("没有这个字段");
            }
            break;
        }
        case SiteKind::Rod: {
            sphere::Rod& r = out.site.rods[i];
            double* v[] = {&r.x, &r.y, &r.base, &r.tip};
            if (field >= 0 && field < 4)
                setNumber(*v[field]);
            else
                out.problem = QStringLiteral("没有这个字段");
            break;
        }
        case SiteKind::Conductor: {
            sphere::Conductor& c = out.site.conductors[i];
            if (double* v = pointField(c.from, c.to, field))
                setNumber(*v);
            else
                out.problem = QStringLiteral("没有这个字段");
            break;
        }
        case SiteKind::Wire: {
            sphere::Wire& w = out.site.wires[i];
            if (field == 6) {
                if (text.trimmed().isEmpty())
                    w.sag.reset();
                else if (const auto v = number(text))
                    w.sag = *v;
                else
                    out.problem = notNumber;
            } else if (double* v = pointField(w.from, w.to, field)) {
                setNumber(*v);
            } else {
                out.problem = QStringLiteral("没有这个字段");
            }
            break;
        }
    }
    if (!out.problem.isEmpty()) out.site = site;
    return out;
}

// One step of the history: the states before and after.
class SiteStep : public QUndoCommand {
public:
    SiteStep(SiteModel* model, SiteState before, SiteState after, const QString& what)
        : QUndoCommand(what),
          m_model(model),
          m_before(std::move(before)),
          m_after(std::move(after)) {}
    void undo() override { m_model->put(m_before, true); }
    void redo() override { m_model->put(m_after, true); }

private:
    SiteModel* m_model;
    SiteState m_before, m_after;
};

SiteModel::SiteModel(QObject* parent) : QObject(parent) {
    m_state.site.hr = 45;
    connect(&m_undo, &QUndoStack::cleanChanged, this,
            [this](bool clean) { emit modifiedChanged(!clean); });
}

QString SiteModel::levelsProblem(const std::vector<double>& levels) {
    for (const double z : levels)
        if (!std::isfinite(z) || z < 0 || z > 1000)
            return QStringLiteral("校核高度应为 0～1000 m 之间的数");
    return {};
}

QString SiteModel::apply(const SiteState& next, const QString& what) {
    if (const std::string why = sphere::problemOf(next.site); !why.empty())
        return QString::fromStdString(why);
    if (QString why = levelsProblem(next.levels); !why.isEmpty()) return why;
    if (m_beforePreview) cancelPreview();
    // The step's redo puts the new state in place.
    m_undo.push(new SiteStep(this, m_state, next, what));
    return {};
}

QString SiteModel::apply(const sphere::Site& next, const QString& what) {
    return apply(SiteState{next, m_state.levels}, what);
}

QString SiteModel::reset(const SiteState& state) {
    if (const std::string why = sphere::problemOf(state.site); !why.empty())
        return QString::fromStdString(why);
    if (QString why = levelsProblem(state.levels); !why.isEmpty()) return why;
    m_beforePreview.reset();
    m_undo.clear();
    put(state, true);
    m_undo.setClean();
    return {};
}

QString SiteModel::preview(const sphere::Site& next) {
    if (const std::string why = sphere::problemOf(next); !why.empty())
        return QString::fromStdString(why);
    if (!m_beforePreview) m_beforePreview = m_state.site;
    m_state.site = next;
    emit changed(false);
    return {};
}

void SiteModel::finishPreview(const QString& what) {
    if (!m_beforePreview) return;
    SiteState before{*m_beforePreview, m_state.levels};
    m_beforePreview.reset();
    SiteState after = m_state;
    // Nothing moved: no step, but the final result is wanted all the same.
    if (site::serialize(before.site) == site::serialize(after.site)) {
        emit changed(true);
        return;
    }
    m_state = before;  // the step's redo puts `after` in place
    m_undo.push(new SiteStep(this, std::move(before), std::move(after), what));
}

void SiteModel::cancelPreview() {
    if (!m_beforePreview) return;
    m_state.site = *m_beforePreview;
    m_beforePreview.reset();
    emit changed(true);
}

void SiteModel::markClean() {
    m_undo.setClean();
}

void SiteModel::put(const SiteState& state, bool final) {
    m_state = state;
    emit changed(final);
}

}  // namespace tervalen::view

#pragma once
// The site a 屋面/总平面防雷校核 window edits, with its undo history: the site (Hr and
// its objects) and the levels whose protected regions are shown. Every change goes
// through here as one step of the history (a typed field, a drawn building, a whole
// drag), and none is taken that the engine would refuse: the site's problem line is
// returned instead and nothing changes. Toolkit-free apart from Qt's undo stack.

#include <QObject>
#include <QString>
#include <QUndoStack>
#include <optional>
#include <vector>

#include "calc/sphere/site.h"

namespace tervalen::view {

// What the window keeps: the site and the levels the user picked.
struct SiteState {
    sphere::Site site;
    std::vector<double> levels;
};

// The kinds of object, in the order of their tables.
enum class SiteKind { Building, Rod, Conductor, Wire };
inline constexpr SiteKind kSiteKinds[] = {SiteKind::Building, SiteKind::Rod, SiteKind::Conductor,
                                          SiteKind::Wire};

// One object of the site: its kind and its place in that kind's list.
struct SiteRef {
    SiteKind kind = SiteKind::Building;
    int index = -1;
    bool operator==(const SiteRef&) const = default;
};

// The number of objects of a kind.
int countOf(const sphere::Site& site, SiteKind kind);
// The site without the object (the others keep their order).
sphere::Site without(const sphere::Site& site, SiteRef ref);

// The fields of each kind as its table shows them, in order: their headers and the text
// of each field of an object.
QStringList fieldHeaders(SiteKind kind);
QString fieldText(const sphere::Site& site, SiteRef ref, int field);
// The site with one field of the object set from a typed text; the reason in Chinese
// when the text is not a value of that field (the site's own problems are found by
// SiteModel::apply). A wire's sag left blank takes the program's rule.
struct FieldEdit {
    sphere::Site site;
    QString problem;
};
FieldEdit withField(const sphere::Site& site, SiteRef ref, int field, const QString& text);

// A building's outline as typed in its table: "x, y; x, y; …" (metres).
QString outlineText(const std::vector<sphere::Point2>& outline);
std::optional<std::vector<sphere::Point2>> parseOutline(const QString& text);

// A number as the tables and labels show it: up to 10 significant digits, a point for
// the decimal separator.
QString numberShown(double value);

class SiteModel : public QObject {
    Q_OBJECT
public:
    explicit SiteModel(QObject* parent = nullptr);

    const SiteState& state() const { return m_state; }
    const sphere::Site& site() const { return m_state.site; }
    const std::vector<double>& levels() const { return m_state.levels; }

    // A new state as one step of the history named `what`: an empty text, or the reason
    // it was refused (problemOf's line, or the levels' problem), with nothing changed.
    QString apply(const SiteState& next, const QString& what);
    QString apply(const sphere::Site& next, const QString& what);
    // Puts the state in place without a step and forgets the history (a file opened).
    QString reset(const SiteState& state);

    // A drag: `preview` shows sites without making steps (a refused one is not shown and
    // its reason returned); `finishPreview` makes one step from the site before the first
    // preview to the one shown last (none when they are the same), `cancelPreview` goes
    // back to it.
    QString preview(const sphere::Site& next);
    void finishPreview(const QString& what);
    void cancelPreview();
    bool previewing() const { return m_beforePreview.has_value(); }

    QUndoStack* undoStack() { return &m_undo; }
    // Whether the state differs from the one last marked clean (saved or opened).
    bool isModified() const { return !m_undo.isClean(); }
    void markClean();
    // Differs from what it was read from (a project's copy of a site that its file does
    // not hold): modified, with nothing to undo.
    void markModified() { m_undo.resetClean(); }

    // The levels' problem: each a finite number in [0, 1000] m; empty when usable.
    static QString levelsProblem(const std::vector<double>& levels);

signals:
    // The state changed: `final` is false for a drag's preview, true otherwise.
    void changed(bool final);
    void modifiedChanged(bool modified);

private:
    friend class SiteStep;
    void put(const SiteState& state, bool final);

    SiteState m_state;
    QUndoStack m_undo;
    std::optional<sphere::Site> m_beforePreview;
};

}  // namespace tervalen::view

#pragma once
// 屋面/总平面防雷校核: a child window in which the designer lays out rods, conductors and
// wires on the roof plan (drawn, typed, or imported from a DXF), and sees each roof's
// protection by the rolling sphere live: a coarse map while dragging, the exact check of
// every roof when an edit is final, with the verdict per roof and for the site. Opened
// from the menu 保护范围计算; more than one may be open.

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QTableWidget>
#include <vector>

#include "calc/common/result.h"
#include "view/site_compute.h"
#include "view/site_model.h"
#include "view/site_plan_view.h"
#include "view/site_tables.h"

namespace tervalen::view {

class SiteWindow : public QMainWindow {
    Q_OBJECT
public:
    static constexpr const char* kCaption = "屋面/总平面防雷校核";
    // The map's step while dragging (metres).
    static constexpr double kDragStep = 2;

    explicit SiteWindow(QWidget* parent = nullptr);
    ~SiteWindow() override;

    // The site and the levels it shows; setting them starts a fresh history and leaves the
    // window unmodified (a project or file read). setSite refuses (returns the reason) what
    // the engine would refuse.
    sphere::Site site() const { return m_model.site(); }
    QString setSite(const sphere::Site& site);
    std::vector<double> levels() const { return m_model.levels(); }
    QString setLevels(const std::vector<double>& levels);
    // Whether it shows what a new window shows (no file, no object, the first Hr, no
    // level): opening or closing it loses nothing.
    bool showsNothingNew() const;
    // The site file shown (empty for none) and whether the window differs from it.
    QString file() const { return m_file; }
    bool openFile(const QString& file);
    bool saveTo(const QString& file);
    void markSaved() { m_model.markClean(); }
    // A window a project kept: its site and levels as the user left them, and the site
    // file it belongs to (empty for none). It starts unmodified unless it differs from
    // that file (or the file cannot be read), so that its own 保存 shows there is
    // something to write. Refused (the reason returned) where setSite would refuse.
    QString restore(const sphere::Site& site, const std::vector<double>& levels,
                    const QString& file);

    // "保存对场地的修改吗？" when the site differs from its file: true when the caller may
    // go on (saved, or not to be saved). Once `askOnClose` is off, closing asks nothing
    // (the caller has settled it).
    bool settleChanges();
    void setAskOnClose(bool ask) { m_askOnClose = ask; }

    // "加入计算书" is offered once someone takes the request.
    void setAddToSheetAvailable(bool available);

    SiteModel& model() { return m_model; }
    SitePlanView* plan() const { return m_plan; }
    SiteTables* tables() const { return m_tables; }
    QTableWidget* verdictTable() const { return m_verdict; }
    // The site's verdict as shown: "满足", "不满足", or empty while not known.
    QString verdict() const { return m_verdictText; }
    // The exact result shown for the site as it is now, if there is one yet.
    const std::optional<SiteResult>& exactResult() const { return m_exact; }
    // The exports (the file dialogs skipped): done, or why not.
    Result<> exportTo(const QString& file);

signals:
    void changed();
    void addToSheetRequested();
    // An exact result for the site as it is now was shown.
    void resultShown();

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void buildToolBars();
    void siteChanged(bool final);
    void showResult(const SiteResult& r);
    void fillVerdict();
    void syncControls();
    void hrChosen();
    void levelsTyped();
    void buildingDrawn(const std::vector<sphere::Point2>& corners);
    void edgeConductors();
    void importDxf();
    void open();
    bool save();
    bool saveAs();
    void exportAs(const QString& suffix, const QString& filter);
    void showSection(sphere::Point2 a, sphere::Point2 b);
    void updateTitle();
    void say(const QString& text);
    QString folder() const;
    void rememberFolder(const QString& file);

    SiteModel m_model;
    SiteComputer m_computer;
    SitePlanView* m_plan;
    SiteTables* m_tables;
    QTableWidget* m_verdict;
    QLabel* m_state;
    QLabel* m_overall;
    QLabel* m_levelsShown;
    QComboBox* m_hr;
    QLineEdit* m_hrCustom;
    QLineEdit* m_levels;
    QDoubleSpinBox* m_rodHeight;
    QDoubleSpinBox* m_conductorHeight;
    QDoubleSpinBox* m_wireHeight;
    QAction* m_addToSheet = nullptr;
    std::optional<SiteResult> m_exact;
    QString m_verdictText;
    QString m_file;
    std::string m_freshSite;  // a new window's site, as its file would hold it
    double m_lastRoof = 20;
    bool m_askOnClose = true;
};

}  // namespace tervalen::view

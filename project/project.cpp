#include "project/project.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <nlohmann/json.hpp>
#include <optional>
#include <system_error>
#include <variant>

#include "calc/common/step_budget.h"
#include "files/atomic_write.h"
#include "files/json_document.h"
#include "files/json_reader.h"
#include "files/one_line.h"
#include "files/read_file.h"
#include "forms/action.h"
#include "forms/catalog.h"
#include "sheet/form_reading.h"
#include "sheet/site_record.h"
#include "sheet/verdict.h"
#include "site/site_file.h"

namespace tervalen::project {
namespace {

// Written with its keys in a fixed order; read into sorted maps (a key is found in
// logarithmic time however many an object has).
using Json = nlohmann::ordered_json;
using InJson = nlohmann::json;

// The file's keys, each named here alone.
namespace key {
constexpr const char* format = "format";
constexpr const char* version = "version";
constexpr const char* header = "header";
constexpr const char* records = "records";
constexpr const char* openForms = "open_forms";
// The header's fields.
constexpr const char* project = "project";
constexpr const char* subitem = "subitem";
constexpr const char* designer = "designer";
constexpr const char* calculator = "calculator";
constexpr const char* checker = "checker";
constexpr const char* reviewer = "reviewer";
constexpr const char* date = "date";
constexpr const char* edition = "edition";  // "2010" or "1994"
// The cover's fields (files from before them have none: empty).
constexpr const char* number = "number";
constexpr const char* revision = "revision";
constexpr const char* approver = "approver";
constexpr const char* calculatorDate = "calculator_date";
constexpr const char* checkerDate = "checker_date";
constexpr const char* reviewerDate = "reviewer_date";
constexpr const char* approverDate = "approver_date";
constexpr const char* recordPerPage = "record_per_page";
// A record.
constexpr const char* label = "label";
constexpr const char* form = "form";
constexpr const char* actions = "actions";
constexpr const char* settings = "settings";
constexpr const char* requirement = "requirement";
constexpr const char* text = "text";
constexpr const char* compared = "compared_with";
constexpr const char* results = "results";
constexpr const char* working = "working";
// A quantity and a step of the working.
constexpr const char* symbol = "symbol";
constexpr const char* name = "name";
constexpr const char* value = "value";
constexpr const char* unit = "unit";
constexpr const char* formula = "formula";
constexpr const char* substituted = "substituted";
constexpr const char* note = "note";
// An open form.
constexpr const char* controls = "controls";
constexpr const char* visible = "visible";
constexpr const char* enabled = "enabled";
constexpr const char* selected = "selected";
constexpr const char* kept = "kept";
constexpr const char* keptFrom = "kept_from";
constexpr const char* lastPress = "last_press";
// A site's record (version 2): the site as its file has it, each roof as saved.
constexpr const char* site = "site";
constexpr const char* roofs = "roofs";
constexpr const char* height = "height";
constexpr const char* uncoveredArea = "uncovered_area";
constexpr const char* worst = "worst";
constexpr const char* x = "x";
constexpr const char* y = "y";
constexpr const char* s = "s";
constexpr const char* ok = "ok";
// An open site window (version 2).
constexpr const char* openSites = "open_sites";
constexpr const char* title = "title";
constexpr const char* levels = "levels";
constexpr const char* siteFile = "site_file";
}  // namespace key

constexpr const char* kFormat = "tervalen-project";
// The most presses a record's actions may make (a calculation needs one to three).
constexpr std::size_t kMaxPressesPerRecord = 16;
// How much of a name or text from the file a message quotes.
constexpr std::size_t kQuotedCharacters = 60;
// The longest message about a file (the rest is cut with "…").
constexpr std::size_t kMessageCharacters = 400;

// ---------------------------------------------------------------- writing

Json argumentsOf(const std::vector<forms::Action>& actions) {
    Json out = Json::array();
    for (const forms::Action& a : actions)
        for (std::string& arg : forms::toArguments(a)) out.push_back(std::move(arg));
    return out;
}

Json quantitiesOf(const std::vector<sheet::Quantity>& qs) {
    Json out = Json::array();
    for (const sheet::Quantity& q : qs)
        out.push_back({{key::symbol, q.symbol},
                       {key::name, q.name},
                       {key::value, q.value},
                       {key::unit, q.unit}});
    return out;
}

Json workingOf(const Working& working) {
    Json out = Json::array();
    for (const Step& s : working)
        out.push_back({{key::symbol, s.symbol},
                       {key::formula, s.formula},
                       {key::substituted, s.substituted},
                       {key::value, s.value},
                       {key::unit, s.unit},
                       {key::note, s.note}});
    return out;
}

// A kept single-precision value as the shortest text that reads back as the same value.
std::string floatText(float value) {
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, r.ptr);
}

// A form's settings (the code edition, say), by name: none for most forms.
Json settingsOf(const forms::Settings& settings) {
    Json out = Json::object();
    for (const auto& [name, value] : settings) out[name] = value;
    return out;
}

Json recordOf(const sheet::SheetRecord& r) {
    Json out;
    out[key::label] = r.label;
    out[key::form] = r.form;
    if (!r.settings.empty()) out[key::settings] = settingsOf(r.settings);
    out[key::actions] = argumentsOf(r.actions);
    if (r.requirement)
        out[key::requirement] = {{key::text, r.requirement->text},
                                 {key::compared, r.requirement->symbol}};
    // What was computed when the record was saved: for a record that could not be
    // computed again, what it was read with.
    out[key::results] = quantitiesOf(r.mismatch ? r.mismatch->savedResults : r.results);
    out[key::working] = workingOf(r.working);
    return out;
}

// A site as its file has it (format and version too), inside the project's document.
Json siteOf(const sphere::Site& site) {
    return Json::parse(site::serialize(site));
}

Json roofsOf(const std::vector<sphere::RoofCheck>& roofs) {
    Json out = Json::array();
    for (const sphere::RoofCheck& r : roofs)
        out.push_back(
            {{key::name, r.name},
             {key::height, r.height},
             {key::uncoveredArea, r.uncoveredArea},
             {key::worst, {{key::x, r.worst.at.x}, {key::y, r.worst.at.y}, {key::s, r.worst.s}}},
             {key::ok, r.ok}});
    return out;
}

// A site's record: the roofs as computed when it was saved (the saved ones again for a
// record that differs from what this program computes, until the user takes those).
Json siteRecordOf(const sheet::SheetRecord& r) {
    const sheet::SiteCheck& c = *r.site;
    const std::vector<sphere::RoofCheck>& roofs = c.savedRoofs ? *c.savedRoofs : c.roofs;
    Json out;
    out[key::label] = r.label;
    out[key::site] = siteOf(c.site);
    out[key::roofs] = roofsOf(roofs);
    out[key::ok] = !roofs.empty() && std::all_of(roofs.begin(), roofs.end(),
                                                 [](const sphere::RoofCheck& x) { return x.ok; });
    return out;
}

Json siteWindowOf(const SiteWindowState& w) {
    Json levels = Json::array();
    for (double z : w.levels) levels.push_back(z);
    Json out = {
        {key::title, w.title}, {key::site, siteOf(w.site)}, {key::levels, std::move(levels)}};
    if (!w.file.empty()) out[key::siteFile] = w.file;
    return out;
}

Json snapshotOf(const forms::FormSnapshot& s) {
    Json out;
    out[key::form] = s.form;
    if (!s.settings.empty()) out[key::settings] = settingsOf(s.settings);
    Json controls = Json::object();
    for (const auto& [name, state] : s.controls) {
        // The text always; the other properties where they differ from a fresh state.
        Json c;
        c[key::text] = state.text;
        if (!state.visible) c[key::visible] = false;
        if (!state.enabled) c[key::enabled] = false;
        if (state.selected) c[key::selected] = true;
        controls[name] = std::move(c);
    }
    out[key::controls] = std::move(controls);
    Json kept = Json::object();
    for (const auto& [name, value] : s.kept) kept[name] = floatText(value);
    out[key::kept] = std::move(kept);
    out[key::keptFrom] = argumentsOf(s.keptFrom);
    // What the form showed the working and drawing of: run again when the form is read.
    if (!s.lastPress.empty()) out[key::lastPress] = argumentsOf(s.lastPress);
    return out;
}

// ---------------------------------------------------------------- reading

[[noreturn]] void fail(const std::string& what) {
    throw ProjectError(what);
}

using files::inQuotes;

// A part of the document being read, named for the messages ("第 2 条计算记录").
using Reader = files::JsonReader<ProjectError>;

std::vector<std::string> stringsOf(const InJson& array, const std::string& where) {
    std::vector<std::string> out;
    for (const InJson& j : array) {
        if (!j.is_string()) fail(where + "应为文本的数组");
        out.push_back(j.get<std::string>());
    }
    return out;
}

std::vector<forms::Action> actionsOf(const Reader& r, const char* k, const forms::FormDef& def) {
    const std::string where = r.where() + "的 " + inQuotes(k) + " ";
    const std::vector<std::string> args = stringsOf(r.array(k), where);
    try {
        return forms::parseActions(args, def);
    } catch (const forms::ActionError& e) {
        fail(where + "有无法识别的控件或操作（" + files::oneLine(e.what(), kQuotedCharacters * 2) +
             "）");
    }
}

// The settings a record or an open form was saved with; none when the file has none (a
// form then takes its defaults, what computed it before there were settings).
forms::Settings settingsFrom(const Reader& r, const forms::FormDef& def) {
    forms::Settings out;
    if (!r.has(key::settings)) return out;
    for (const auto& [name, value] : r.object(key::settings).items()) {
        const std::string where = r.where() + "的设置 " + inQuotes(name);
        if (!value.is_string()) fail(where + " 应为文本");
        const forms::Setting* setting = def.setting(name);
        if (!setting) fail(where + " 本程序没有");
        if (!setting->find(value.get<std::string>()))
            fail(where + " 没有选项 " + inQuotes(value.get<std::string>()));
        out[name] = value.get<std::string>();
    }
    return out;
}

std::vector<sheet::Quantity> quantitiesFrom(const Reader& r, const char* k) {
    std::vector<sheet::Quantity> out;
    int n = 0;
    for (const InJson& j : r.array(k)) {
        const Reader q(j, r.where() + "的 " + inQuotes(k) + " 第 " + std::to_string(++n) + " 项");
        out.push_back({q.text(key::symbol), q.text(key::name, {}), q.text(key::value),
                       q.text(key::unit, {})});
    }
    return out;
}

Working workingFrom(const Reader& r) {
    Working out;
    int n = 0;
    for (const InJson& j : r.array(key::working)) {
        const Reader s(j, r.where() + "的计算过程第 " + std::to_string(++n) + " 步");
        out.push_back({s.text(key::symbol), s.text(key::formula, {}),
                       s.text(key::substituted, {}), s.text(key::value, {}),
                       s.text(key::unit, {}), s.text(key::note, {})});
    }
    return out;
}

const forms::FormDef& formNamed(const std::string& name, const std::string& where) {
    const forms::FormDef* def = forms::findForm(name);
    if (!def) fail(where + "的计算表 " + inQuotes(name) + " 本程序没有");
    return *def;
}

// The two lists of results name the same quantities with the same values.
bool sameResults(const std::vector<sheet::Quantity>& a, const std::vector<sheet::Quantity>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const sheet::Quantity& x, const sheet::Quantity& y) {
                          return x.symbol == y.symbol && x.value == y.value;
                      });
}

// A record computed again from its actions; the saved results where that gives none.
sheet::SheetRecord recordFrom(const InJson& j, int number, const sheet::ReplayWatcher& watch) {
    const Reader r(j, "第 " + std::to_string(number) + " 条计算记录");
    std::string label = r.text(key::label);
    const forms::FormDef& def = formNamed(r.text(key::form), r.where());
    const forms::Settings settings = settingsFrom(r, def);
    const std::vector<forms::Action> actions = actionsOf(r, key::actions, def);
    if (actions.empty() || actions.back().verb != forms::Action::Verb::Press)
        fail(r.where() + "的 " + inQuotes(key::actions) + " 应以按下计算按钮结束");
    // Every press is replayed on reading, and a press may search for a long while (up to
    // a million steps): a record that presses more often than any calculation needs is
    // refused before any of it runs. Enter typed into a box presses too.
    std::size_t presses = 0;
    for (const forms::Action& a : actions)
        presses += a.verb == forms::Action::Verb::Press ? 1
                   : a.verb == forms::Action::Verb::Type
                       ? static_cast<std::size_t>(std::count(a.text.begin(), a.text.end(), '\r'))
                       : 0;
    if (presses > kMaxPressesPerRecord)
        fail(r.where() + "的 " + inQuotes(key::actions) + " 要按下计算按钮 " +
             std::to_string(presses) + " 次，超过每条记录 " + std::to_string(kMaxPressesPerRecord) +
             " 次的上限");
    std::vector<sheet::Quantity> saved = quantitiesFrom(r, key::results);
    Working savedWorking = workingFrom(r);

    // Computed once, within a bound on its searches (which also holds for the boxes'
    // Enter below); a press that gives no result keeps what was saved, marked with why.
    const StepBudget budget(kMaxStepsPerRecord);
    sheet::Replayed again = sheet::replayRecord(def, settings, actions, label, watch);
    sheet::SheetRecord rec = std::move(again.record);
    if (again.refused) {
        rec.results = saved;
        rec.working = std::move(savedWorking);
        rec.mismatch = sheet::Mismatch{true, *again.refused, saved};
    } else if (!sameResults(rec.results, saved)) {
        rec.mismatch = sheet::Mismatch{false, {}, saved};
    }
    if (r.has(key::requirement)) {
        const Reader q(r.at(key::requirement), r.where() + "的要求值");
        const auto read = sheet::readRequirement(rec, q.text(key::text), q.text(key::compared));
        if (!read) fail(q.where() + "有误：" + read.why());
        rec.requirement = *read;
    }
    return rec;
}

float floatFrom(const InJson& j, const std::string& where) {
    if (!j.is_string()) fail(where + "应为数字的文本");
    const std::string s = j.get<std::string>();
    float v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    // A form keeps only finite values (a step that overflows stops before it stores).
    if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(v))
        fail(where + "应为数字的文本");
    return v;
}

forms::FormSnapshot snapshotFrom(const InJson& j, int number) {
    const Reader r(j, "第 " + std::to_string(number) + " 个打开的计算表");
    forms::FormSnapshot snap;
    snap.form = r.text(key::form);
    const forms::FormDef& def = formNamed(snap.form, r.where());
    for (const auto& [name, value] : r.object(key::controls).items()) {
        const Reader c(value, r.where() + "的控件 " + inQuotes(name));
        forms::ControlState s;
        s.text = c.text(key::text);
        s.visible = c.flag(key::visible, true);
        s.enabled = c.flag(key::enabled, true);
        s.selected = c.flag(key::selected, false);
        snap.controls.emplace(name, std::move(s));
    }
    for (const auto& [name, value] : r.object(key::kept).items())
        snap.kept[name] = floatFrom(value, r.where() + "保存的值 " + inQuotes(name));
    snap.keptFrom = actionsOf(r, key::keptFrom, def);
    if (r.has(key::lastPress)) snap.lastPress = actionsOf(r, key::lastPress, def);
    snap.settings = settingsFrom(r, def);
    // The form itself says which controls and kept values a snapshot of it may hold.
    forms::Form form(def);
    if (const std::vector<std::string> unknown = form.restore(snap); !unknown.empty())
        fail(r.where() + "有本程序不认识的控件或保存值（" + unknown.front() + "）");
    return snap;
}

double numberFrom(const Reader& r, const char* k) {
    const InJson& j = r.at(k);
    if (!j.is_number() || !std::isfinite(j.get<double>()))
        fail(r.where() + "的 " + inQuotes(k) + " 应为有限的数");
    return j.get<double>();
}

// A site inside the project, as its file has it (the engine asked nothing yet).
sphere::Site siteFrom(const Reader& r) {
    try {
        return site::parseAsWritten(r.object(key::site).dump());
    } catch (const site::SiteError& e) {
        fail(r.where() + "的场地有误：" + e.what());
    }
}

// A site's record may not ask more of the engine than the bounds allow.
void boundSite(const sphere::Site& site, const std::string& where) {
    const std::size_t objects =
        site.rods.size() + site.conductors.size() + site.wires.size() + site.buildings.size();
    std::size_t corners = 0;
    for (const sphere::Building& b : site.buildings) corners += b.outline.size();
    double lo = 0, hi = 0;
    bool any = false;
    auto take = [&](double v) {
        lo = any ? std::min(lo, v) : v;
        hi = any ? std::max(hi, v) : v;
        any = true;
    };
    for (const sphere::Rod& r : site.rods) take(r.x), take(r.y), take(r.tip), take(r.base);
    for (const sphere::Conductor& c : site.conductors)
        for (const sphere::Point3& p : {c.from, c.to}) take(p.x), take(p.y), take(p.z);
    for (const sphere::Wire& w : site.wires)
        for (const sphere::Point3& p : {w.from, w.to}) take(p.x), take(p.y), take(p.z);
    for (const sphere::Building& b : site.buildings) {
        take(b.roof), take(b.base);
        for (const sphere::Point2& p : b.outline) take(p.x), take(p.y);
    }
    const std::string limit = "，超过场地记录的上限 ";
    if (objects > kMaxSiteObjects)
        fail(where + "的场地有 " + std::to_string(objects) + " 个对象" + limit +
             std::to_string(kMaxSiteObjects) + " 个");
    if (site.buildings.size() > kMaxSiteBuildings)
        fail(where + "的场地有 " + std::to_string(site.buildings.size()) + " 座建筑物" + limit +
             std::to_string(kMaxSiteBuildings) + " 座");
    if (corners > kMaxSiteCorners)
        fail(where + "的场地的建筑物共有 " + std::to_string(corners) + " 个角点" + limit +
             std::to_string(kMaxSiteCorners) + " 个");
    if (hi - lo > kMaxSiteExtent || site.hr > kMaxSiteExtent)
        fail(where + "的场地范围或滚球半径超过场地记录的上限 " +
             std::to_string(static_cast<int>(kMaxSiteExtent)) + " m");
}

std::vector<sphere::RoofCheck> roofsFrom(const Reader& r) {
    std::vector<sphere::RoofCheck> out;
    int n = 0;
    for (const InJson& j : r.array(key::roofs)) {
        const Reader q(j, r.where() + "的第 " + std::to_string(++n) + " 个屋面");
        sphere::RoofCheck roof;
        roof.name = q.text(key::name, {});
        roof.height = numberFrom(q, key::height);
        roof.uncoveredArea = numberFrom(q, key::uncoveredArea);
        const Reader w(q.at(key::worst), q.where() + "的最不利点");
        roof.worst = {{numberFrom(w, key::x), numberFrom(w, key::y)}, numberFrom(w, key::s)};
        roof.ok = q.flag(key::ok, false);
        if (!q.has(key::ok)) fail(q.where() + "缺少 " + inQuotes(key::ok));
        out.push_back(std::move(roof));
    }
    return out;
}

// The same rows with the same values, name by name.
bool sameRows(const std::vector<sheet::Quantity>& a, const std::vector<sheet::Quantity>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const sheet::Quantity& x, const sheet::Quantity& y) {
                          return x.name == y.name && x.value == y.value;
                      });
}

// A site's record checked again by the engine; kept as saved, marked, where the engine
// does not take its site now.
sheet::SheetRecord siteRecordFrom(const InJson& j, int number) {
    const Reader r(j, "第 " + std::to_string(number) + " 条计算记录");
    std::string label = r.text(key::label);
    const sphere::Site site = siteFrom(r);
    boundSite(site, r.where());
    std::vector<sphere::RoofCheck> saved = roofsFrom(r);
    if (r.has(key::ok)) (void)r.flag(key::ok, false);  // derived from the roofs; a boolean
    const std::vector<sheet::Quantity> savedRows = sheet::roofResults(saved);
    try {
        sheet::SheetRecord rec = sheet::siteRecordOf(site, label);
        if (!sameRows(rec.results, savedRows)) {
            rec.mismatch = sheet::Mismatch{false, {}, savedRows};
            rec.site->savedRoofs = std::move(saved);
        }
        return rec;
    } catch (const std::invalid_argument& e) {
        sheet::SheetRecord rec = sheet::savedSiteRecord(site, std::move(saved), std::move(label));
        rec.mismatch = sheet::Mismatch{true, e.what(), savedRows};
        return rec;
    }
}

SiteWindowState siteWindowFrom(const InJson& j, int number) {
    const Reader r(j, "第 " + std::to_string(number) + " 个打开的场地窗口");
    SiteWindowState w;
    w.title = r.text(key::title);
    w.file = r.text(key::siteFile, {});
    w.site = siteFrom(r);
    for (const InJson& z : r.array(key::levels)) {
        if (!z.is_number() || !std::isfinite(z.get<double>()) || z.get<double>() < 0 ||
            z.get<double>() > 1e5)
            fail(r.where() + "的 " + inQuotes(key::levels) + " 应为 0 至 100000 m 的高度");
        w.levels.push_back(z.get<double>());
    }
    return w;
}

InJson document(std::string_view text) {
    try {
        return files::jsonDocument(text);
    } catch (const files::JsonDocumentError& e) {
        fail(e.what());
    }
}

std::string pathText(const std::filesystem::path& p) {
    const auto u8 = p.u8string();
    return std::string(u8.begin(), u8.end());
}

// A file's name in a message: whole, but on one line.
std::string fileQuoted(const std::filesystem::path& p) {
    return "“" + files::oneLine(pathText(p)) + "”";
}

}  // namespace

Project parse(std::string_view text, const sheet::ReplayWatcher& watch) {
    try {
        const InJson doc = document(text);
        if (!doc.is_object()) fail("不是 Tervalen 工程文件（内容不是 JSON 对象）");
        const auto format = doc.find(key::format);
        if (format == doc.end() || !format->is_string() || *format != kFormat)
            fail("不是 Tervalen 工程文件（" + inQuotes(key::format) + " 不是 " + inQuotes(kFormat) +
                 "）");
        const Reader top(doc, "工程文件");
        const InJson& version = top.at(key::version);
        // Any positive integer, however large, is a version (a newer one than this).
        if (!version.is_number_unsigned() || version.get<std::uint64_t>() < 1)
            fail("工程文件的 " + inQuotes(key::version) + " 应为正整数");
        if (version.get<std::uint64_t>() > static_cast<std::uint64_t>(kVersion))
            fail("由更新版本的 Tervalen 保存（文件版本 " +
                 std::to_string(version.get<std::uint64_t>()) + "，本程序能读到版本 " +
                 std::to_string(kVersion) + "）");

        Project p;
        const Reader h(top.at(key::header), "表头");
        sheet::SheetHeader& header = p.sheet.header;
        header.project = h.text(key::project);
        header.subitem = h.text(key::subitem);
        header.designer = h.text(key::designer);
        header.calculator = h.text(key::calculator);
        header.checker = h.text(key::checker);
        header.reviewer = h.text(key::reviewer);
        header.date = h.text(key::date);
        // A file from before the header had an edition cited the 1994 edition throughout.
        p.sheet.header.edition = CodeEdition::GB50057_94;
        if (h.has(key::edition)) {
            const std::string e = h.text(key::edition);
            if (e != "1994" && e != "2010")
                fail(h.where() + "的 " + inQuotes(key::edition) + " 应为 \"1994\" 或 \"2010\"");
            p.sheet.header.edition =
                e == "2010" ? CodeEdition::GB50057_2010 : CodeEdition::GB50057_94;
        }
        for (const auto& [k, field] :
             {std::pair{key::number, &sheet::SheetHeader::number},
              std::pair{key::revision, &sheet::SheetHeader::revision},
              std::pair{key::approver, &sheet::SheetHeader::approver},
              std::pair{key::calculatorDate, &sheet::SheetHeader::calculatorDate},
              std::pair{key::checkerDate, &sheet::SheetHeader::checkerDate},
              std::pair{key::reviewerDate, &sheet::SheetHeader::reviewerDate},
              std::pair{key::approverDate, &sheet::SheetHeader::approverDate}})
            header.*field = h.text(k, {});
        header.recordPerPage = h.flag(key::recordPerPage, false);
        int n = 0;
        for (const InJson& r : top.array(key::records)) {
            ++n;
            p.sheet.records.push_back(r.is_object() && r.contains(key::site)
                                          ? siteRecordFrom(r, n)
                                          : recordFrom(r, n, watch));
        }
        n = 0;
        for (const InJson& s : top.array(key::openForms))
            p.openForms.push_back(snapshotFrom(s, ++n));
        n = 0;
        if (top.has(key::openSites))
            for (const InJson& s : top.array(key::openSites))
                p.openSites.push_back(siteWindowFrom(s, ++n));
        return p;
    } catch (const ProjectError& e) {
        // One line however the file's texts came into it, and not too long to read.
        fail(files::oneLine(e.what(), kMessageCharacters));
    } catch (const std::bad_alloc&) {
        fail("无法读取：内存不足");
    } catch (const std::exception& e) {
        // Nothing else is expected; should a lower layer throw all the same, the file is
        // still refused with one line rather than the program stopped.
        fail(files::oneLine(std::string("无法读取：") + e.what(), kMessageCharacters));
    }
}

std::string serialize(const Project& p) {
    Json doc;
    doc[key::format] = kFormat;
    // The first version that holds what the project has.
    const bool sites =
        !p.openSites.empty() || std::any_of(p.sheet.records.begin(), p.sheet.records.end(),
                                            [](const sheet::SheetRecord& r) { return r.site; });
    doc[key::version] = sites ? 2 : 1;
    const sheet::SheetHeader& h = p.sheet.header;
    doc[key::header] = {{key::project, h.project},
                        {key::subitem, h.subitem},
                        {key::designer, h.designer},
                        {key::calculator, h.calculator},
                        {key::checker, h.checker},
                        {key::reviewer, h.reviewer},
                        {key::date, h.date},
                        {key::edition, h.edition == CodeEdition::GB50057_2010 ? "2010" : "1994"},
                        {key::number, h.number},
                        {key::revision, h.revision},
                        {key::approver, h.approver},
                        {key::calculatorDate, h.calculatorDate},
                        {key::checkerDate, h.checkerDate},
                        {key::reviewerDate, h.reviewerDate},
                        {key::approverDate, h.approverDate},
                        {key::recordPerPage, h.recordPerPage}};
    doc[key::records] = Json::array();
    for (const sheet::SheetRecord& r : p.sheet.records)
        doc[key::records].push_back(r.site ? siteRecordOf(r) : recordOf(r));
    doc[key::openForms] = Json::array();
    for (const forms::FormSnapshot& s : p.openForms) doc[key::openForms].push_back(snapshotOf(s));
    if (!p.openSites.empty()) {
        doc[key::openSites] = Json::array();
        for (const SiteWindowState& w : p.openSites) doc[key::openSites].push_back(siteWindowOf(w));
    }
    // Text that is not UTF-8 (it can only come from a command line) is written as U+FFFD
    // rather than making the file unwritable.
    return doc.dump(2, ' ', false, Json::error_handler_t::replace) + '\n';
}

Project load(const std::filesystem::path& file, const sheet::ReplayWatcher& watch) {
    const std::string name = fileQuoted(file);
    const Result<std::string> text = files::readRegularFile(file, kMaxFileSize);
    if (!text) fail("无法读取工程文件" + name + "：" + text.why());
    try {
        return parse(*text, watch);
    } catch (const ProjectError& e) {
        fail("无法打开工程文件" + name + "：" + e.what());
    }
}

Result<> save(const Project& project, const std::filesystem::path& file) {
    if (const Result<> done = files::writeAtomically(file, serialize(project)); !done)
        return Failure{"无法保存工程文件" + fileQuoted(file) + "：" + done.why()};
    return {};
}

bool SiteWindowState::operator==(const SiteWindowState& other) const {
    return title == other.title && file == other.file && sheet::sameSite(site, other.site) &&
           levels == other.levels;
}

files::FileLock lockForChange(const std::filesystem::path& file) {
    Result<files::FileLock> lock = files::FileLock::acquire(file, files::kLockWait);
    if (!lock) fail("无法修改工程文件" + fileQuoted(file) + "：" + lock.why());
    return std::move(lock).value();
}

}  // namespace tervalen::project

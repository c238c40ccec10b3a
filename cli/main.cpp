// tervalen-calc: runs any calculator form's logic without a window.
//
//   tervalen-calc [--json | --text] [--pdf OUT.pdf] [--dxf OUT.dxf] [--svg OUT.svg]
//                 [--edition 1994|2010] [--require SYMBOL=VALUE] [--add-to FILE [--label TEXT]]
//                 FORM ACTION...
//   tervalen-calc --project FILE [--json | --text] [--pdf OUT.pdf]
//   tervalen-calc --add-to FILE [--label TEXT] [--json] --site SITE.tvs   (cli/site_run.h)
//     CONTROL=TEXT         set a box's text as if pasted (no key filter, no Click handler)
//     --type CONTROL=TEXT  type TEXT character by character through the box's key filter
//     --pick CONTROL=TEXT  choose a list entry: set the text and run the box's Click handler
//     --select OPTION      select an option button
//     --press BUTTON       press a button
//   With no --press, the form's first calculate button is pressed once at the end.
//   --text prints the calculation sheet's section of the last press after the results;
//   --pdf writes the one-record calculation sheet as PDF; --dxf, --svg write the
//   protection-range drawing of the last successful press; --add-to appends the last
//   press to a project file (.tvp) as a record, creating the file when there is none.
//   --project recomputes every record of a project file and prints each one's label and
//   results (--text: then the whole sheet; --pdf: the whole sheet as PDF). --edition
//   chooses the edition of the code a form that offers the choice follows (frmLJCS;
//   default 1994). --require sets the requirement the calculation sheet takes (the
//   distance to cover at Hx for a range form, the highest resistance allowed for an
//   earthing form, compared with SYMBOL), so that --json gives its "verdict", --text and
//   --pdf its 结论, and --add-to records it. --json gives every weak point, a place of the
//   protected level the rolling sphere still reaches, in "warnings".
//   Exit status: 0 when the actions ran (whatever messages they showed), 2 for a
//   malformed command line, 3 when an export or --add-to finds no successful press (or
//   no drawing) or its file cannot be written (no file is left, one line says why), 4
//   when a project file cannot be read or written (one line says why), 70 when a
//   handler met a fault of the program itself.

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>
#include <optional>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "cli/info_options.h"
#include "cli/plan_run.h"
#include "cli/site_run.h"
#include "drawing/dxf.h"
#include "drawing/finite.h"
#include "drawing/from_record.h"
#include "drawing/svg.h"
#include "files/atomic_write.h"
#include "files/one_line.h"
#include "forms/action.h"
#include "forms/catalog.h"
#include "forms/form.h"
#include "pdf_export.h"
#include "project/project.h"
#include "sheet/document.h"
#include "sheet/sheet_record.h"
#include "sheet/text_render.h"
#include "sheet/verdict.h"

using namespace tervalen::forms;

namespace {

// A message on one line, control characters shown escaped, cut at a readable length.
std::string oneLine(const std::string& text) {
    return tervalen::files::oneLine(text, 400);
}

const char* iconName(Icon icon) {
    switch (icon) {
        case Icon::Critical:
            return "critical";
        case Icon::Question:
            return "question";
        case Icon::None:
            break;
    }
    return "none";
}

void printText(const Form& form, const std::vector<Message>& messages,
               std::ostream& out = std::cout) {
    for (const Message& m : messages) {
        // A message box as a person reads it: its icon, then its lines.
        out << (m.icon == Icon::Critical ? "[错误] " : "[提示] ");
        for (char c : m.text) {
            out << c;
            if (c == '\n') out << "       ";
        }
        out << '\n';
    }
    for (const Control* c : form.controls())
        if (c->kind == Kind::Result) out << c->name << '=' << form.text(c->name) << '\n';
    if (const auto& record = form.lastPress())
        for (const tervalen::Warning& w : record->warnings())
            out << "[保护校核] " << tervalen::sentence(w) << '\n';
}

// The verdict of a record that is judged (by a requirement or a height form's target):
// "verdict": {"ok", "text"}.
void addVerdict(nlohmann::ordered_json& out, const tervalen::sheet::SheetRecord& r) {
    if (const auto c = tervalen::sheet::conclusionOf(r); c.satisfied)
        out["verdict"] = {{"ok", *c.satisfied}, {"text", c.text}};
}

nlohmann::ordered_json jsonOf(const Form& form, const std::vector<Message>& messages) {
    nlohmann::ordered_json out;
    out["form"] = form.name();
    out["messages"] = nlohmann::ordered_json::array();
    for (const Message& m : messages)
        out["messages"].push_back({{"text", m.text}, {"icon", iconName(m.icon)}});
    out["results"] = nlohmann::ordered_json::object();
    out["labels"] = nlohmann::ordered_json::object();
    out["inputs"] = nlohmann::ordered_json::object();
    for (const Control* c : form.controls()) {
        const ControlState& s = form.state(c->name);
        if (c->kind == Kind::Result) out["results"][c->name] = s.text;
        if (c->kind == Kind::Input) out["inputs"][c->name] = s.text;
        if (c->dynamic != 0) {
            nlohmann::ordered_json props;
            if (c->dynamic & kCaption) props["caption"] = s.text;
            if (c->dynamic & kVisible) props["visible"] = s.visible;
            if (c->dynamic & kEnabled) props["enabled"] = s.enabled;
            out["labels"][c->name] = props;
        }
    }
    // The steps of the last successful press of the run, in the order computed.
    out["working"] = nlohmann::ordered_json::array();
    if (const auto& record = form.lastPress())
        for (const tervalen::Step& s : record->working())
            out["working"].push_back({{"symbol", s.symbol},
                                      {"formula", s.formula},
                                      {"substituted", s.substituted},
                                      {"value", s.value},
                                      {"unit", s.unit},
                                      {"note", s.note}});
    // The edition of the code followed, on a form that offers the choice.
    if (form.def().setting("edition")) out["edition"] = form.setting("edition");
    // The places of the protected level the sphere still reaches.
    out["warnings"] = nlohmann::ordered_json::array();
    if (const auto& record = form.lastPress())
        for (const tervalen::Warning& w : record->warnings())
            out["warnings"].push_back({{"where", w.where}, {"text", w.text}});
    return out;
}

void printJson(const nlohmann::ordered_json& out) {
    std::cout << out.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
}

// The export's exit status: no successful press to record, or no file written.
constexpr int kNoExport = 3;
// A project file that cannot be read or written.
constexpr int kProjectFile = 4;

// A project file's problem, said in one line: exit status 4.
struct ProjectFileError {
    std::string what;
};

// Writes the drawing of the form's last press; 0, or 3 with one line on stderr.
int writeDrawing(const Form& form, const std::vector<Message>& messages, const std::string& dxf,
                 const std::string& svg, const tervalen::drawing::DxfOptions& dxfOptions) {
    const auto& record = form.lastPress();
    std::optional<tervalen::drawing::Drawing> drawing;
    if (record) drawing = tervalen::drawing::drawingOf(*record, form.def().caption);
    if (!drawing) {
        std::string why;
        if (!tervalen::drawing::hasDrawing(form.name()))
            why = form.name() + " has no protection-range drawing";
        else if (!record)
            why = messages.empty() ? "the last press left no record to draw from"
                                   : "the press gave no result: " + oneLine(messages.back().text);
        else
            why = "the inputs of " + record->unit() + " make no drawing (a spacing of zero, say)";
        std::cerr << "tervalen-calc: no drawing written: " << why << '\n';
        return kNoExport;
    }
    if (!tervalen::drawing::allFinite(*drawing)) {
        std::cerr << "tervalen-calc: no drawing written: " << tervalen::drawing::kNotFiniteReason
                  << '\n';
        return kNoExport;
    }
    for (const auto& [path, text] : {std::pair{dxf, tervalen::drawing::toDxf(*drawing, dxfOptions)},
                                     std::pair{svg, tervalen::drawing::toSvg(*drawing)}}) {
        if (path.empty()) continue;
        if (const tervalen::Result<> done = tervalen::files::writeAtomically(path, text); !done) {
            std::cerr << "tervalen-calc: 无法写入 " << oneLine(path) << "：" << done.why() << '\n';
            return kNoExport;
        }
    }
    return 0;
}

struct Options {
    bool json = false;
    bool text = false;
    std::string pdf;       // empty: none
    std::string dxf, svg;  // the drawing's files; empty: none
    // --dxf-version R12|R2000 and --frame: the DXF's version, and an A3 frame with the
    // title block from --header's fields.
    tervalen::drawing::DxfVersion dxfVersion = tervalen::drawing::DxfVersion::R2000;
    bool dxfVersionGiven = false;
    bool frame = false;
    std::string addTo;                 // the project file the press is added to; empty: none
    std::optional<std::string> label;  // the added record's label
    std::string project;               // the project file to recompute and print; empty: none
    std::string edition;               // empty: the form's default
    // --header KEY=VALUE: the sheet's header fields, in order.
    std::vector<std::pair<std::string, std::string>> header;
    // --require SYMBOL=VALUE: the requirement the record is judged by.
    std::optional<std::pair<std::string, std::string>> require;
    // --site FILE with its --at X,Y and --level Z: the rolling sphere over a site file.
    tervalen::cli::SiteOptions site;
};

void applyHeader(const Options& options, tervalen::sheet::SheetHeader& h);

constexpr const char* kUsage =
    "usage: tervalen-calc [--json | --text] [--pdf OUT.pdf] [--dxf OUT.dxf [--dxf-version "
    "R12|R2000] [--frame]] [--svg OUT.svg] "
    "[--edition 1994|2010] [--require SYMBOL=VALUE] [--add-to FILE [--label TEXT]] FORM "
    "[CONTROL=TEXT | --type CONTROL=TEXT "
    "| --pick "
    "CONTROL=TEXT | --select OPTION | --press BUTTON]...; or: tervalen-calc --project FILE "
    "[--json | --text] [--pdf OUT.pdf]; or: tervalen-calc --site FILE [--json] [--at X,Y]... "
    "[--level Z]... [--dxf OUT.dxf] [--svg OUT.svg]; or: tervalen-calc --add-to FILE "
    "[--label TEXT] --site SITE.tvs; or: tervalen-calc --import-dxf FILE.dxf "
    "[--layer NAME]... [--json] [--units U] [--roof H [--hr HR] --site-out SITE.tvs]";

// An export names the project file, or two exports one file: the one would replace the
// other (and a project replaced by its own PDF is lost).
void refuseExportOntoProject(const Options& o) {
    const std::pair<const char*, const std::string*> exports[] = {
        {"--pdf", &o.pdf}, {"--dxf", &o.dxf}, {"--svg", &o.svg}};
    for (std::size_t k = 0; k < std::size(exports); ++k) {
        const auto& [option, path] = exports[k];
        if (path->empty()) continue;
        for (const std::string* project : {&o.project, &o.addTo})
            if (!project->empty() && tervalen::files::sameFile(*path, *project))
                throw ActionError(std::string(option) + " would write over the project file " +
                                  *project);
        for (std::size_t m = k + 1; m < std::size(exports); ++m)
            if (!exports[m].second->empty() && tervalen::files::sameFile(*path, *exports[m].second))
                throw ActionError(std::string(option) + " and " + exports[m].first +
                                  " name the same file " + *path);
    }
}

// "KEY=VALUE" of an option, split at its first "="; the key may not be empty.
std::pair<std::string, std::string> namedValue(std::string_view option, std::string_view key,
                                               const std::string& text) {
    const auto eq = text.find('=');
    if (eq == 0 || eq == std::string::npos)
        throw ActionError(std::string(option) + " needs " + std::string(key) + "=VALUE, not '" +
                          text + "'");
    return {text.substr(0, eq), text.substr(eq + 1)};
}

// The options before the form's name; i is left at the form's name.
Options readOptions(const std::vector<std::string>& args, std::size_t& i) {
    Options o;
    for (; i < args.size() && args[i].starts_with("--"); ++i) {
        if (args[i] == "--json") {
            o.json = true;
        } else if (args[i] == "--text") {
            o.text = true;
        } else if (args[i] == "--pdf" && i + 1 < args.size()) {
            o.pdf = args[++i];
        } else if (args[i] == "--dxf" && i + 1 < args.size()) {
            o.dxf = args[++i];
        } else if (args[i] == "--dxf-version" && i + 1 < args.size()) {
            const std::string& v = args[++i];
            if (v != "R12" && v != "R2000")
                throw ActionError("--dxf-version needs R12 or R2000, not '" + v + "'");
            o.dxfVersion = v == "R12" ? tervalen::drawing::DxfVersion::R12
                                      : tervalen::drawing::DxfVersion::R2000;
            o.dxfVersionGiven = true;
        } else if (args[i] == "--frame") {
            o.frame = true;
        } else if (args[i] == "--svg" && i + 1 < args.size()) {
            o.svg = args[++i];
        } else if (args[i] == "--add-to" && i + 1 < args.size()) {
            o.addTo = args[++i];
        } else if (args[i] == "--label" && i + 1 < args.size()) {
            o.label = args[++i];
        } else if (args[i] == "--project" && i + 1 < args.size()) {
            o.project = args[++i];
        } else if (args[i] == "--edition" && i + 1 < args.size()) {
            o.edition = args[++i];
        } else if (args[i] == "--header" && i + 1 < args.size()) {
            o.header.push_back(namedValue("--header", "KEY", args[++i]));
            tervalen::sheet::SheetHeader probe;
            applyHeader(o, probe);  // an unknown field is a malformed command line
        } else if (args[i] == "--require" && i + 1 < args.size()) {
            o.require = namedValue("--require", "SYMBOL", args[++i]);
        } else if (args[i] == "--site" && i + 1 < args.size()) {
            o.site.file = args[++i];
        } else if (args[i] == "--at" && i + 1 < args.size()) {
            const auto p = tervalen::cli::planPoint(args[++i]);
            if (!p)
                throw ActionError(
                    "--at needs X,Y: two numbers within ±100000 m with a point for "
                    "the decimal separator, not '" +
                    args[i] + "'");
            o.site.at.push_back(*p);
        } else if (args[i] == "--level" && i + 1 < args.size()) {
            const auto z = tervalen::cli::levelHeight(args[++i]);
            if (!z)
                throw ActionError(
                    "--level needs a height from 0 to 100000 m with a point for "
                    "the decimal separator, not '" +
                    args[i] + "'");
            o.site.levels.push_back(*z);
        } else {
            const bool takesFile = args[i] == "--pdf" || args[i] == "--dxf" || args[i] == "--svg" ||
                                   args[i] == "--add-to" || args[i] == "--project" ||
                                   args[i] == "--site";
            throw ActionError("unknown option " + args[i] +
                              (takesFile                    ? " without a file name"
                               : args[i] == "--label"       ? " without a text"
                               : args[i] == "--edition"     ? " without 1994 or 2010"
                               : args[i] == "--require"     ? " without SYMBOL=VALUE"
                               : args[i] == "--header"      ? " without KEY=VALUE"
                               : args[i] == "--dxf-version" ? " without R12 or R2000"
                               : args[i] == "--at"          ? " without X,Y"
                               : args[i] == "--level"       ? " without a height"
                                                            : ""));
        }
    }
    if (o.json && o.text) throw ActionError("--json and --text exclude each other");
    if ((o.frame || o.dxfVersionGiven) && (o.dxf.empty() || !o.site.file.empty()))
        throw ActionError(std::string(o.frame ? "--frame" : "--dxf-version") +
                          " goes with a form's --dxf OUT.dxf");
    if (o.site.file.empty() && (!o.site.at.empty() || !o.site.levels.empty()))
        throw ActionError(std::string(o.site.at.empty() ? "--level" : "--at") +
                          " goes with --site FILE");
    if (!o.site.file.empty() && !o.addTo.empty()) {
        // The site's check added to a project as a record.
        if (o.text || !o.pdf.empty() || !o.dxf.empty() || !o.svg.empty() || !o.project.empty() ||
            o.require || !o.site.at.empty() || !o.site.levels.empty())
            throw ActionError(
                "--add-to with --site goes with --label, --json, --edition and --header only");
        if (i < args.size()) throw ActionError("--site takes no form: " + args[i]);
        if (tervalen::files::sameFile(o.addTo, o.site.file))
            throw ActionError("--add-to would write over the site file " + o.site.file);
        return o;
    }
    if (!o.site.file.empty()) {
        if (o.text || !o.pdf.empty() || !o.addTo.empty() || o.label || !o.project.empty() ||
            !o.edition.empty() || !o.header.empty() || o.require)
            throw ActionError("--site goes with --json, --at, --level, --dxf and --svg only");
        if (i < args.size()) throw ActionError("--site takes no form: " + args[i]);
        for (const std::string* path : {&o.dxf, &o.svg})
            if (!path->empty() && tervalen::files::sameFile(*path, o.site.file))
                throw ActionError(std::string(path == &o.dxf ? "--dxf" : "--svg") +
                                  " would write over the site file " + o.site.file);
    }
    refuseExportOntoProject(o);
    if (!o.site.file.empty()) return o;
    if (o.label && o.addTo.empty()) throw ActionError("--label goes with --add-to");
    if (!o.project.empty()) {
        if (!o.addTo.empty() || !o.dxf.empty() || !o.svg.empty() || o.require)
            throw ActionError(
                "--project goes with --json, --text, --pdf, --edition and --header only");
        if (i < args.size()) throw ActionError("--project takes no form: " + args[i]);
        return o;
    }
    if (i >= args.size()) throw ActionError(kUsage);
    return o;
}

// The project in the file, or a new one when there is no such file.
tervalen::project::Project projectIn(const std::string& file, bool mayBeNew,
                                     const tervalen::sheet::ReplayWatcher& watch = {}) {
    std::error_code ec;
    // An empty file is what locking a missing one makes (or what a killed writer left).
    if (mayBeNew &&
        (!std::filesystem::exists(std::filesystem::path(file), ec) ||
         std::filesystem::file_size(std::filesystem::path(file), ec) == 0) &&
        !ec)
        return {};
    try {
        return tervalen::project::load(std::filesystem::path(file), watch);
    } catch (const tervalen::project::ProjectError& e) {
        throw ProjectFileError{e.what()};
    }
}

// The project file locked for the press to be added to it; exit status 4 when it cannot be.
tervalen::files::FileLock lockProject(const std::string& file) {
    try {
        return tervalen::project::lockForChange(std::filesystem::path(file));
    } catch (const tervalen::project::ProjectError& e) {
        throw ProjectFileError{e.what()};
    }
}

// The sheet's header with the fields and the edition the command line gives.
void applyHeader(const Options& options, tervalen::sheet::SheetHeader& h) {
    using tervalen::sheet::SheetHeader;
    static const std::pair<const char*, std::string SheetHeader::*> kFields[] = {
        {"project", &SheetHeader::project},
        {"subitem", &SheetHeader::subitem},
        {"designer", &SheetHeader::designer},
        {"calculator", &SheetHeader::calculator},
        {"checker", &SheetHeader::checker},
        {"reviewer", &SheetHeader::reviewer},
        {"date", &SheetHeader::date},
        {"number", &SheetHeader::number},
        {"revision", &SheetHeader::revision},
        {"approver", &SheetHeader::approver},
        {"calculator_date", &SheetHeader::calculatorDate},
        {"checker_date", &SheetHeader::checkerDate},
        {"reviewer_date", &SheetHeader::reviewerDate},
        {"approver_date", &SheetHeader::approverDate}};
    for (const auto& entry : options.header) {
        // Named, not bound: a lambda below takes the key.
        const std::string& key = entry.first;
        const std::string& value = entry.second;
        if (key == "record_per_page") {
            if (value != "0" && value != "1")
                throw ActionError("header field 'record_per_page' takes 0 or 1");
            h.recordPerPage = value == "1";
            continue;
        }
        const auto* field = std::find_if(std::begin(kFields), std::end(kFields),
                                         [&](const auto& f) { return key == f.first; });
        if (field == std::end(kFields))
            throw ActionError("unknown header field '" + key +
                              "' (project, subitem, number, revision, designer, calculator, "
                              "checker, reviewer, approver, date, calculator_date, checker_date, "
                              "reviewer_date, approver_date, record_per_page)");
        h.*(field->second) = value;
    }
    if (!options.edition.empty())
        h.edition = options.edition == "1994" ? tervalen::CodeEdition::GB50057_94
                                              : tervalen::CodeEdition::GB50057_2010;
}

// The printed form of a quantity: "Rx = 11.70115 m".
std::string stated(const tervalen::sheet::Quantity& q) {
    return (q.symbol.empty() ? q.name : q.symbol) + " = " + q.value +
           (q.unit.empty() ? "" : " " + q.unit);
}

// --project: every record computed again, printed as a press of the driver is, with its
// label; then the sheet.
int runProject(const Options& options) {
    // What each record's form showed as reading the project computed it (once).
    std::vector<nlohmann::ordered_json> shownJson;
    std::vector<std::string> shownText;
    tervalen::project::Project p = projectIn(
        options.project, false, [&](const Form& form, const std::vector<Message>& messages) {
            if (options.json) {
                shownJson.push_back(jsonOf(form, messages));
            } else {
                std::ostringstream text;
                printText(form, messages, text);
                shownText.push_back(std::move(text).str());
            }
        });
    applyHeader(options, p.sheet.header);
    nlohmann::ordered_json all = nlohmann::ordered_json::array();
    bool first = true;
    // A site's record shows no form: the forms' runs are the other records', in order.
    std::size_t formRun = 0;
    for (std::size_t i = 0; i < p.sheet.records.size(); ++i) {
        const tervalen::sheet::SheetRecord& r = p.sheet.records[i];
        if (r.site) {
            if (options.json) {
                all.push_back(tervalen::cli::siteRecordJson(r));
            } else {
                std::cout << (first ? "" : "\n");
                tervalen::cli::printSiteRecord(r, std::cout);
            }
            first = false;
            continue;
        }
        const std::size_t run = formRun++;
        const std::vector<tervalen::sheet::Quantity>& saved =
            r.mismatch ? r.mismatch->savedResults : r.results;
        if (options.json) {
            nlohmann::ordered_json out = std::move(shownJson.at(run));
            out["label"] = r.label;
            addVerdict(out, r);
            out["matches_saved"] = !r.mismatch;
            out["saved_results"] = nlohmann::ordered_json::array();
            for (const tervalen::sheet::Quantity& q : saved)
                out["saved_results"].push_back(
                    {{"symbol", q.symbol}, {"name", q.name}, {"value", q.value}, {"unit", q.unit}});
            all.push_back(std::move(out));
            continue;
        }
        std::cout << (first ? "" : "\n") << oneLine(r.label) << '\n';
        first = false;
        std::cout << shownText.at(run);
        if (r.mismatch) {
            std::string savedText;
            for (const tervalen::sheet::Quantity& q : saved)
                savedText += (savedText.empty() ? "" : "，") + stated(q);
            std::cout << tervalen::sheet::kMismatchNote << "："
                      << (r.mismatch->refused ? "重新计算未得出结果；" : "") << "保存时 "
                      << savedText << '\n';
        }
    }
    if (options.json) printJson(all);
    const tervalen::sheet::Document sheet =
        tervalen::sheet::sheetDocument(p.sheet.header, p.sheet.records);
    if (options.text) std::cout << '\n' << tervalen::sheet::plainText(sheet);
    if (!options.pdf.empty())
        if (const tervalen::Result<> done = writeSheetPdf(options.pdf, sheet); !done) {
            std::cerr << "tervalen-calc: " << oneLine(done.why()) << '\n';
            return kNoExport;
        }
    return 0;
}

// --add-to FILE --site SITE.tvs: the site's check added to the project as a record; exit
// status 3 and nothing added when the site cannot be read or the engine refuses it.
int addSite(const Options& options) {
    tervalen::files::FileLock lock = lockProject(options.addTo);
    tervalen::project::Project project = projectIn(options.addTo, true);
    applyHeader(options, project.sheet.header);
    std::string why;
    std::optional<tervalen::sheet::SheetRecord> record =
        tervalen::cli::siteRecordFromFile(options.site.file, options.label.value_or(""), why);
    if (!record) {
        lock.removeIfCreatedEmpty();
        std::cerr << "tervalen-calc: nothing added to " << oneLine(options.addTo) << ": "
                  << oneLine(why) << '\n';
        return kNoExport;
    }
    project.sheet.add(std::move(*record));
    if (const tervalen::Result<> saved =
            tervalen::project::save(project, std::filesystem::path(options.addTo));
        !saved) {
        lock.removeIfCreatedEmpty();
        throw ProjectFileError{saved.why()};
    }
    if (options.json)
        printJson(tervalen::cli::siteRecordJson(project.sheet.records.back()));
    else
        tervalen::cli::printSiteRecord(project.sheet.records.back(), std::cout);
    return 0;
}

int run(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (const auto plan = tervalen::cli::planOptions(args)) return tervalen::cli::runPlan(*plan);
    std::size_t i = 0;
    const Options options = readOptions(args, i);
    if (!options.project.empty()) return runProject(options);
    if (!options.site.file.empty() && !options.addTo.empty()) return addSite(options);
    if (!options.site.file.empty()) {
        tervalen::cli::SiteOptions site = options.site;
        site.json = options.json;
        site.dxf = options.dxf;
        site.svg = options.svg;
        return tervalen::cli::runSite(site);
    }
    const FormDef* def = findForm(args[i]);
    if (!def) throw ActionError("unknown form '" + args[i] + "'");
    const std::vector<Action> actions = parseActions(std::span(args).subspan(i + 1), *def);
    // The project is locked and read first: a file that cannot be read is said before
    // anything runs, and no other writer changes it until this one has saved.
    std::optional<tervalen::files::FileLock> lock;
    std::optional<tervalen::project::Project> project;
    if (!options.addTo.empty()) {
        lock = lockProject(options.addTo);
        project = projectIn(options.addTo, true);
    }
    Form form(*def);
    // The edition is the sheet's, and the calculation's too on a form that offers the choice.
    if (!options.edition.empty()) {
        if (options.edition != "1994" && options.edition != "2010")
            throw ActionError("unknown edition '" + options.edition + "' (1994 or 2010)");
        if (def->setting("edition")) form.setSetting("edition", options.edition);
    }
    if (project) applyHeader(options, project->sheet.header);
    std::vector<Message> messages;
    form.setSink([&](const Message& m) { messages.push_back(m); });
    applyAll(form, actions);
    const bool pressed = std::any_of(actions.begin(), actions.end(),
                                     [](const Action& a) { return a.verb == Action::Verb::Press; });
    if (!pressed) {
        const std::string first = form.firstCalculateButton();
        if (!first.empty()) form.press(first);
    }
    // The record of the press with the requirement it is judged by.
    std::optional<tervalen::sheet::SheetRecord> record =
        tervalen::sheet::recordOf(form, options.label.value_or(""));
    if (record && options.require) {
        const auto read = tervalen::sheet::readRequirement(*record, options.require->second,
                                                           options.require->first);
        if (!read)
            throw ActionError("--require " + options.require->first + "=" +
                              options.require->second + ": " + read.why());
        record->requirement = *read;
    }
    // Numbered as the project's next one when it is added.
    std::optional<tervalen::sheet::SheetRecord> added;
    if (project && record) {
        project->sheet.add(*record);
        added = project->sheet.records.back();
    }
    if (options.json) {
        nlohmann::ordered_json out = jsonOf(form, messages);
        if (added) out["label"] = added->label;
        if (record) {
            addVerdict(out, *record);
        } else if (options.require) {
            out["verdict"] = {{"ok", false}, {"text", "计算未得出结果，不能判定是否满足要求"}};
        }
        printJson(out);
    } else {
        printText(form, messages);
    }
    if (project) {
        if (!added) {
            lock->removeIfCreatedEmpty();
            std::cerr << "tervalen-calc: nothing added to " << oneLine(options.addTo)
                      << ": no successful calculation\n";
            return kNoExport;
        }
        if (const tervalen::Result<> saved =
                tervalen::project::save(*project, std::filesystem::path(options.addTo));
            !saved) {
            lock->removeIfCreatedEmpty();
            throw ProjectFileError{saved.why()};
        }
    }
    if (!options.dxf.empty() || !options.svg.empty()) {
        tervalen::drawing::DxfOptions dxfOptions;
        dxfOptions.version = options.dxfVersion;
        if (options.frame) {
            tervalen::sheet::SheetHeader h;
            applyHeader(options, h);
            // The one who calculated signs as 设计, as on the sheet's cover.
            dxfOptions.frame = tervalen::drawing::TitleBlock{
                h.project, form.def().caption, h.calculator, h.checker, h.reviewer, h.date};
        }
        if (const int status = writeDrawing(form, messages, options.dxf, options.svg, dxfOptions))
            return status;
    }
    if (!options.text && options.pdf.empty()) return 0;
    if (!record) {
        std::cerr << "tervalen-calc: no successful calculation to record\n";
        return kNoExport;
    }
    tervalen::sheet::Sheet sheet;
    applyHeader(options, sheet.header);
    record->label.clear();  // the form's caption
    sheet.add(*record);
    // The section starts with a blank line, which parts it from the results.
    if (options.text)
        std::cout << tervalen::sheet::plainText(
            tervalen::sheet::recordDocument(sheet.records.front(), 1, sheet.header.edition));
    if (!options.pdf.empty()) {
        if (const tervalen::Result<> done = writeSheetPdf(
                options.pdf,
                tervalen::sheet::singleSheetDocument(sheet.header, sheet.records.front()));
            !done) {
            std::cerr << "tervalen-calc: " << oneLine(done.why()) << '\n';
            return kNoExport;
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (const int status = tervalen::cli::answerInfoOption(argc, argv); status >= 0) return status;
    try {
        return run(argc, argv);
    } catch (const ActionError& e) {
        std::cerr << "tervalen-calc: " << oneLine(e.what()) << '\n';
        return 2;
    } catch (const ProjectFileError& e) {
        std::cerr << "tervalen-calc: " << oneLine(e.what) << '\n';
        return kProjectFile;
    } catch (const InternalError& e) {
        // A fault of the program, not of the command line: exit codes 3 and 4 are the
        // export's and the project file's.
        std::cerr << "tervalen-calc: internal error: " << oneLine(e.what()) << '\n';
        return 70;
    } catch (const std::bad_alloc&) {
        std::cerr << "tervalen-calc: internal error: out of memory\n";
        return 70;
    } catch (const std::exception& e) {
        // Nothing else is expected; should anything escape all the same, it is one line and
        // the program's own exit status, never an abort.
        std::cerr << "tervalen-calc: internal error: " << oneLine(e.what()) << '\n';
        return 70;
    }
}

#pragma once
// A project file (.tvp): the calculation sheet's header and records, and the open forms
// and site windows with what they show, kept in one UTF-8 JSON document. The program and the driver
// read and write projects through here alone; the file's keys are named in project.cpp only.
//
// Reading a project recomputes every record from its actions. A record whose results
// differ from the ones saved, or whose actions no longer give a result, is kept and
// marked (SheetRecord::mismatch), never replaced silently nor dropped. A site's record
// (SheetRecord::site) is checked again by the engine the same way.

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "calc/common/result.h"
#include "calc/sphere/site.h"
#include "files/file_lock.h"
#include "forms/form.h"
#include "sheet/document.h"
#include "sheet/sheet_record.h"

namespace tervalen::project {

inline constexpr const char* kExtension = ".tvp";
// The version this program reads; a file of a higher version is refused. Version 2 adds
// the sites' records and the open site windows; a project without either is written as
// version 1, byte for byte as before, so that earlier programs still open it.
inline constexpr int kVersion = 2;
// The largest project file read (a thousand records take some 3 MiB).
inline constexpr std::size_t kMaxFileSize = std::size_t{32} << 20;
// The most height-search steps (0.01 m each) a record may take as it is computed again on
// reading: every record at the listed sphere radii (up to 60 m) fits even at the most
// presses a record may make, and a file cannot keep the reader busy for long. A record
// that needs more is kept as saved and marked with what stopped it.
inline constexpr long kMaxStepsPerRecord = 200'000;

// Checking a site's roofs again costs a grid of some thousands of points a roof, each
// point a search among the objects within a sphere's reach: a site's record read from a
// project has at most these many objects (rods, conductors, wires and buildings), roofs
// and corners, and its plan and radius span at most kMaxSiteExtent metres, so that a
// file cannot keep the reader busy for long. A record beyond them refuses the file.
inline constexpr std::size_t kMaxSiteObjects = 1000;
inline constexpr std::size_t kMaxSiteBuildings = 50;
inline constexpr std::size_t kMaxSiteCorners = 5000;
inline constexpr double kMaxSiteExtent = 2000;

// An open site window (屋面/总平面防雷校核): its title, its site as the user left it
// (whether or not the engine takes it yet) and the levels it shows the protected
// region at.
struct SiteWindowState {
    std::string title;
    // The site file (*.tvs) the window was opened from or last saved to, as an absolute
    // path; empty when it has none. The project's copy of the site is what counts.
    std::string file;
    sphere::Site site;
    std::vector<double> levels;
    bool operator==(const SiteWindowState& other) const;
};

struct Project {
    sheet::Sheet sheet;  // header and records, in order
    // The forms whose windows are open, in the order they were opened (the active one
    // last), each with what it shows and keeps.
    std::vector<forms::FormSnapshot> openForms;
    // The site windows open, in the order they were opened.
    std::vector<SiteWindowState> openSites;
    bool operator==(const Project&) const = default;
};

// A file that cannot be read as a project. what() is one line in Chinese that names the
// file (when read from one) and what is wrong with it.
class ProjectError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The project in a document's text; throws ProjectError. Never anything else for any
// input (the fuzzer holds it to that).
// Each record is computed once; `watch`, when given, is shown each record's form as its
// actions left it and everything it said (the driver prints the run from it).
Project parse(std::string_view text, const sheet::ReplayWatcher& watch = {});
// The document's text: indented, keys in a fixed order, numbers as typed.
std::string serialize(const Project& project);

// Reads the file: a regular file of at most kMaxFileSize bytes; throws ProjectError naming
// the file.
Project load(const std::filesystem::path& file, const sheet::ReplayWatcher& watch = {});
// Writes the file atomically (files::writeAtomically): a new file beside it, flushed to
// disk, then renamed over it, so that a crash, a full disk or a kill leaves the old file
// whole; the old file's permissions (and owner, where the user may) kept; a read-only
// file, a folder or a device refused. A failure names the file and the reason in one line.
Result<> save(const Project& project, const std::filesystem::path& file);
// Locks the file for reading, changing and saving it again, so that two writers never
// save over each other's records (the file is made, empty, when there is none); throws
// ProjectError naming the file when another program keeps it locked for longer than
// files::kLockWait.
files::FileLock lockForChange(const std::filesystem::path& file);

}  // namespace tervalen::project

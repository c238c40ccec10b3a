#pragma once
// The project as the main window keeps it, without any window: its file, what was last
// read from or saved to it (so that the title's "*" and the unsaved-changes question know
// what would be lost), the file's fingerprint then (so that a change made by another
// program, such as tervalen-calc --add-to, is noticed before it is saved over), the title
// and the file name offered for a first save.

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "forms/form.h"
#include "project/project.h"
#include "sheet/document.h"

namespace tervalen::project {

// What closing the project without saving would lose: the sheet's header and records,
// what the open forms show and keep (by form; a form showing what a fresh window shows is
// left out, since opening or closing it loses nothing) and the open site windows.
struct Work {
    sheet::Sheet sheet;
    std::map<std::string, forms::FormSnapshot> forms;
    std::vector<SiteWindowState> sites;
    bool operator==(const Work& other) const;
};

// The file's size and a 64-bit FNV-1a of its bytes; empty when it cannot be read as a
// regular project file. Two fingerprints differ when the bytes do (a change that keeps
// them equal is a chance of one in 2^64).
std::string fingerprint(const std::filesystem::path& file);

class Session {
public:
    // A project put in place: read from `file` (its fingerprint taken before it was
    // read, so that a change made meanwhile is noticed at the next save), or a new one
    // (`file` empty).
    void start(Work work, std::filesystem::path file, std::string fingerprint);
    // Saved to `file` (while still locked): what was written is what "unsaved" now
    // compares with, and the file's fingerprint is taken again.
    void saved(Work work, std::filesystem::path file);

    // The project's file (absolute), empty for a project never saved.
    const std::filesystem::path& file() const { return m_file; }
    bool unsaved(const sheet::Sheet& sheet,
                 const std::map<std::string, forms::FormSnapshot>& forms,
                 const std::vector<SiteWindowState>& sites) const;
    const Work& lastSaved() const { return m_saved; }
    // The header as last saved, for fields filled in that are no change of the user's.
    sheet::SheetHeader& savedHeader() { return m_saved.sheet.header; }

    // The fingerprint a save expects to find: the file's as last read or saved.
    const std::string& expectedFingerprint() const { return m_fingerprint; }
    // Before saving to `target` with its lock held (`created`: the lock made the file):
    // when it is the project's own file and another program changed it from `expected`,
    // the fingerprint found; empty otherwise. A file gone or unreadable holds nothing to
    // lose, and another file was chosen in a file dialog, which asked before replacing
    // it. The caller that shows the change and is told to save over it expects the
    // fingerprint found from then on (changed again meanwhile, it is asked again).
    std::string changedOnDisk(const std::filesystem::path& target, bool created,
                              const std::string& expected) const;

    // The main window's title: "name.tvp[*] - Tervalen", or "Tervalen[*]" for a project
    // never saved (Qt shows the "*" of unsaved changes at the placeholder).
    std::string caption() const;
    // The file a first save offers in `folder`: the sheet's project name with the
    // characters no file name may hold replaced by "_", or "工程"; with the extension.
    static std::filesystem::path suggestedFile(const std::string& projectName,
                                               const std::filesystem::path& folder);

private:
    Work m_saved;
    std::filesystem::path m_file;
    std::string m_fingerprint;
};

}  // namespace tervalen::project

#pragma once
// A site file (.tvs): a site for the rolling-sphere engine (its radius, rods, conductors,
// wires and buildings) in one UTF-8 JSON document, metres throughout. The program and the
// driver read and write sites through here alone; the file's keys are named in
// site_file.cpp only.
//
//   {"format": "tervalen-site", "version": 1, "hr": 45,
//    "rods": [{"x": 0, "y": 0, "base": 0, "tip": 20}],
//    "conductors": [{"from": [x, y, z], "to": [x, y, z]}],
//    "wires": [{"from": [x, y, z], "to": [x, y, z], "sag": 2}],
//    "buildings": [{"name": "主楼", "outline": [[x, y], ...], "base": 0, "roof": 24}]}
//
// A rod's or building's "base" is 0 when left out, a building's "layer" (the drawing
// layer an imported outline came from) empty, a wire's "sag" the program's sag rule
// for its span; the four lists may be left out when empty. Anything else is refused: a key
// the format does not have, a value of the wrong kind, and every site problemOf refuses.

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

#include "calc/common/result.h"
#include "calc/sphere/site.h"

namespace tervalen::site {

inline constexpr const char* kExtension = ".tvs";
// The version this program writes; a file of a higher version is refused.
inline constexpr int kVersion = 1;
// The largest site file read (a site of ten thousand objects takes about 2 MiB).
inline constexpr std::size_t kMaxFileSize = std::size_t{32} << 20;

// A file that cannot be read as a site. what() is one line in Chinese that names the file
// (when read from one) and what is wrong with it, and where ("第 2 根接闪杆缺少 “tip”").
class SiteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The site in a document's text, usable by the engine (problemOf says nothing); throws
// SiteError, never anything else for any input.
sphere::Site parse(std::string_view text);
// The same, but the site as it was written even where the engine cannot take it (problemOf
// is the caller's to ask): a site being edited, or one a later program's rules refuse, is
// kept whole. Throws SiteError for anything else parse refuses.
sphere::Site parseAsWritten(std::string_view text);
// The document's text: indented, keys in a fixed order, every number the shortest text
// that reads back as the same double (a point for the decimal separator whatever the
// locale), whole numbers without a fraction. A wire's sag is written only when it has one.
std::string serialize(const sphere::Site& site);

// Reads the file: a regular file of at most kMaxFileSize bytes; throws SiteError naming it.
sphere::Site load(const std::filesystem::path& file);
// Writes the file whole or not at all (files::writeAtomically). A failure names the file
// and the reason in one line.
Result<> save(const sphere::Site& site, const std::filesystem::path& file);

}  // namespace tervalen::site

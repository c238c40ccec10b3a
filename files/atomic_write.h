#pragma once
// Writing a file as a whole or not at all, for every file the programs write (projects,
// PDF, DXF, SVG, PNG). Toolkit-free; POSIX calls where there are POSIX files.

#include <filesystem>
#include <string>
#include <string_view>

#include "calc/common/result.h"

namespace tervalen::files {

// Writes `bytes` to `file` so that the file is either the old one or the new one, never a
// part: a new file beside it (a short random name), written, flushed to the disk, given
// the old file's permissions and, where the user may, its owner and group, then renamed
// over it; the folder's entry is flushed too. Through a symbolic link the file linked to
// is written (made when it is missing). Refused, the target untouched: a folder, anything
// but a regular file (a device, a FIFO, a socket), a file the user may not write (a
// read-only file is never replaced behind the user's back). A failure says why in one
// line, without the file's name (the caller names it).
Result<> writeAtomically(const std::filesystem::path& file, std::string_view bytes);

// The file a path names in the end (symbolic links followed, even to a missing file), as
// an absolute path; the path itself when it cannot be worked out.
std::filesystem::path finalTarget(const std::filesystem::path& file);

// Whether two paths name the same file: the same file on the disk when both exist,
// otherwise the same final target.
bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b);

// The name of the new file written beside `target` before the rename: `NAME.<random>.tmp`,
// or `.tervalen.<random>.tmp` when that would be longer than a file name may be.
std::filesystem::path temporaryBeside(const std::filesystem::path& target);

}  // namespace tervalen::files

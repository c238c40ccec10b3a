#pragma once
// Reading a whole file that the user named, safely: only a regular file, and only up to a
// stated size (a device such as /dev/zero never ends, a FIFO may never open).

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

#include "calc/common/result.h"

namespace tervalen::files {

// The bytes of the regular file, or why not in one line (without the file's name): not a
// regular file, larger than `limit` bytes (the limit named), or the system's reason.
Result<std::string> readRegularFile(const std::filesystem::path& file, std::size_t limit);

// "32 MiB", "512 KiB", "100 字节".
std::string sizeText(std::size_t bytes);

}  // namespace tervalen::files

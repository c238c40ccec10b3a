#include "files/read_file.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <system_error>

#if defined(__unix__) || defined(__APPLE__)
#define TERVALEN_POSIX_FILES 1
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tervalen::files {

std::string sizeText(std::size_t bytes) {
    if (bytes >= (1u << 20) && bytes % (1u << 20) == 0) return std::to_string(bytes >> 20) + " MiB";
    if (bytes >= (1u << 10) && bytes % (1u << 10) == 0) return std::to_string(bytes >> 10) + " KiB";
    return std::to_string(bytes) + " 字节";
}

namespace {

std::string tooLarge(std::size_t limit) {
    return "文件大于 " + sizeText(limit) + "，超出能读取的上限";
}

}  // namespace

#ifdef TERVALEN_POSIX_FILES

Result<std::string> readRegularFile(const std::filesystem::path& file, std::size_t limit) {
    // Opened without waiting (a FIFO would wait for a writer), then looked at.
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        return Failure{std::generic_category().message(errno)};
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return Failure{S_ISDIR(st.st_mode) ? std::generic_category().message(EISDIR)
                                           : std::string("这不是普通文件（设备、管道或套接字）")};
    }
    if (static_cast<unsigned long long>(st.st_size) > limit) {
        ::close(fd);
        return Failure{tooLarge(limit)};
    }
    std::string bytes(static_cast<std::size_t>(st.st_size), '\0');
    std::size_t have = 0;
    for (;;) {
        // The file may have grown since: one byte past the limit is enough to know.
        if (have == bytes.size()) {
            if (bytes.size() > limit) break;
            bytes.resize(std::min(limit + 1, std::max<std::size_t>(bytes.size() * 2, 4096)));
        }
        const ssize_t n = ::read(fd, bytes.data() + have, bytes.size() - have);
        if (n < 0) {
            const int error = errno;
            if (error == EINTR) continue;
            ::close(fd);
            return Failure{std::generic_category().message(error)};
        }
        if (n == 0) break;
        have += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (have > limit) {
        return Failure{tooLarge(limit)};
    }
    bytes.resize(have);
    return bytes;
}

#else

Result<std::string> readRegularFile(const std::filesystem::path& file, std::size_t limit) {
    std::error_code ec;
    const auto status = std::filesystem::status(file, ec);
    if (ec) {
        return Failure{ec.message()};
    }
    if (!std::filesystem::is_regular_file(status)) {
        return Failure{"这不是普通文件"};
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return Failure{std::generic_category().message(errno)};
    }
    std::string bytes(limit + 1, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.bad()) {
        return Failure{std::generic_category().message(errno)};
    }
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    if (bytes.size() > limit) {
        return Failure{tooLarge(limit)};
    }
    return bytes;
}

#endif

}  // namespace tervalen::files

#include "files/atomic_write.h"

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <random>
#include <system_error>

#if defined(__unix__) || defined(__APPLE__)
#define TERVALEN_POSIX_FILES 1
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tervalen::files {
namespace {

namespace fs = std::filesystem;

std::string systemReason(int error) {
    return std::generic_category().message(error);
}

// The longest file name the usual file systems take, in bytes.
constexpr std::size_t kNameMax = 255;

}  // namespace

fs::path temporaryBeside(const fs::path& target) {
    // Drawn afresh for every file, so that processes forked from one another do not draw
    // the same names.
    std::random_device random;
    const unsigned long long n = (static_cast<unsigned long long>(random()) << 32) ^ random();
    char suffix[24];
    std::snprintf(suffix, sizeof suffix, ".%016llx.tmp", n);
    const std::string name = target.filename().string();
    if (name.size() + std::char_traits<char>::length(suffix) <= kNameMax)
        return target.parent_path() / (name + suffix);
    return target.parent_path() / (std::string(".tervalen") + suffix);
}

fs::path finalTarget(const fs::path& file) {
    std::error_code ec;
    fs::path target = fs::absolute(file, ec);
    if (ec) return file;
    // The usual limit of links followed in a row.
    for (int links = 0; links < 40; ++links) {
        if (!fs::is_symlink(fs::symlink_status(target, ec))) return target;
        const fs::path to = fs::read_symlink(target, ec);
        if (ec) return target;
        target = (to.is_absolute() ? to : target.parent_path() / to).lexically_normal();
    }
    return target;
}

bool sameFile(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    if (fs::exists(a, ec) && fs::exists(b, ec)) {
        const bool same = fs::equivalent(a, b, ec);
        if (!ec) return same;
    }
    const fs::path x = finalTarget(a), y = finalTarget(b);
    // The folders may exist where the files do not: compare them as the disk has them.
    const fs::path xf = fs::weakly_canonical(x.parent_path(), ec);
    const fs::path yf = fs::weakly_canonical(y.parent_path(), ec);
    return x.filename() == y.filename() && xf == yf;
}

#ifdef TERVALEN_POSIX_FILES

namespace {

// Writes every byte; the errno of what failed, or 0.
int writeAll(int fd, std::string_view bytes) {
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return 0;
}

}  // namespace

static std::string writeOrSayWhy(const fs::path& file, std::string_view bytes) {
    const fs::path target = finalTarget(file);
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT) return systemReason(errno);
    if (exists) {
        if (S_ISDIR(old.st_mode)) return systemReason(EISDIR);
        if (!S_ISREG(old.st_mode)) return "这不是普通文件（设备、管道或套接字），不写入";
        // The permissions say who may change the file; renaming over it would not ask
        // them. A file nobody may write is read-only for the superuser too.
        if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0 ||
            (old.st_mode & 0222) == 0)
            return "文件是只读的，未替换";
    }
    fs::path tmp;
    int fd = -1;
    // A new file is made as any file is (the umask applies); a file replaced keeps its
    // permissions, set below, and is private until then.
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        tmp = temporaryBeside(target);
        fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, exists ? 0600 : 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) return systemReason(errno);
    int error = writeAll(fd, bytes);
    if (error == 0 && exists) {
        // Owner and group where the user may (the superuser, or a group of the user's);
        // then the permissions, which a change of owner may have cleared bits of.
        if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
            [[maybe_unused]] const int ignored = ::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
        }
        if (::fchmod(fd, old.st_mode & 07777) != 0) error = errno;
    }
    if (error == 0 && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(tmp.c_str(), target.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(tmp.c_str());
        return systemReason(error);
    }
    // The rename itself reaches the disk with the folder's entry.
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    if (const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return {};
}

#else

static std::string writeOrSayWhy(const fs::path& file, std::string_view bytes) {
    const fs::path target = finalTarget(file);
    std::error_code ec;
    const fs::file_status status = fs::status(target, ec);
    if (fs::is_directory(status)) return systemReason(EISDIR);
    if (fs::exists(status) && !fs::is_regular_file(status))
        return "这不是普通文件（设备、管道或套接字），不写入";
    if (fs::exists(status) && (status.permissions() & fs::perms::owner_write) == fs::perms::none)
        return "文件是只读的，未替换";
    fs::path tmp = temporaryBeside(target);
    for (int attempt = 0; attempt < 16 && fs::exists(tmp, ec); ++attempt)
        tmp = temporaryBeside(target);
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out) return systemReason(errno);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        out.close();
        if (!out) {
            const int error = errno ? errno : EIO;
            fs::remove(tmp, ec);
            return systemReason(error);
        }
    }
    fs::rename(tmp, target, ec);
    if (ec) {
        const std::string reason = ec.message();
        fs::remove(tmp, ec);
        return reason;
    }
    return {};
}

#endif

Result<> writeAtomically(const fs::path& file, std::string_view bytes) {
    if (std::string why = writeOrSayWhy(file, bytes); !why.empty()) return Failure{std::move(why)};
    return {};
}

}  // namespace tervalen::files

#include "files/file_lock.h"

#include <cerrno>
#include <system_error>
#include <thread>
#include <utility>

#include "files/atomic_write.h"

#if defined(__unix__) || defined(__APPLE__)
#define TERVALEN_POSIX_FILES 1
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tervalen::files {

FileLock::FileLock(FileLock&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)),
      m_file(std::move(other.m_file)),
      m_created(other.m_created) {}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this != &other) {
        this->~FileLock();
        m_fd = std::exchange(other.m_fd, -1);
        m_file = std::move(other.m_file);
        m_created = other.m_created;
    }
    return *this;
}

#ifdef TERVALEN_POSIX_FILES

FileLock::~FileLock() {
    if (m_fd >= 0) ::close(m_fd);  // lets go of the lock
}

Result<FileLock> FileLock::acquire(const std::filesystem::path& file,
                                   std::chrono::milliseconds wait) {
    const std::filesystem::path target = finalTarget(file);
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        bool created = false;
        int fd = ::open(target.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0 && errno == ENOENT) {
            fd = ::open(target.c_str(), O_RDONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            created = fd >= 0;
            if (fd < 0 && errno == EEXIST) continue;  // another process made it just now
        }
        if (fd < 0) return Failure{std::generic_category().message(errno)};
        struct stat held {};
        if (::fstat(fd, &held) != 0 || !S_ISREG(held.st_mode)) {
            ::close(fd);
            return Failure{S_ISDIR(held.st_mode) ? "这是一个文件夹" : "这不是普通文件"};
        }
        while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            if (const int error = errno; error != EWOULDBLOCK && error != EINTR) {
                ::close(fd);
                return Failure{std::generic_category().message(error)};
            }
            if (std::chrono::steady_clock::now() >= deadline) {
                ::close(fd);
                return Failure{
                    "另一个程序正在修改它，等待 " +
                    std::to_string(std::chrono::duration_cast<std::chrono::seconds>(wait).count()) +
                    " 秒后仍未完成，请稍后再试"};
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        // Held; but is it still the file the name gives? A writer that had the lock
        // before may have renamed a new file over it (or removed the one it made).
        struct stat now {};
        if (::stat(target.c_str(), &now) == 0 && now.st_dev == held.st_dev &&
            now.st_ino == held.st_ino)
            return FileLock(fd, target, created);
        ::close(fd);
        if (std::chrono::steady_clock::now() >= deadline)
            return Failure{"另一个程序正在修改它，请稍后再试"};
    }
}

void FileLock::removeIfCreatedEmpty() {
    if (!m_created || m_fd < 0) return;
    struct stat held {
    }, now{};
    if (::fstat(m_fd, &held) == 0 && held.st_size == 0 && ::stat(m_file.c_str(), &now) == 0 &&
        now.st_dev == held.st_dev && now.st_ino == held.st_ino)
        ::unlink(m_file.c_str());
    m_created = false;
}

#else

FileLock::~FileLock() = default;

Result<FileLock> FileLock::acquire(const std::filesystem::path& file, std::chrono::milliseconds) {
    // No advisory locks here: the writers are not kept apart.
    return FileLock(-1, file, false);
}

void FileLock::removeIfCreatedEmpty() {}

#endif

}  // namespace tervalen::files

#pragma once
// An advisory lock on a file for a read-modify-write: the processes that take it (the
// driver's --add-to, the program's save) change the file one at a time, so none of them
// writes over what another has just added.

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

#include "calc/common/result.h"

namespace tervalen::files {

class FileLock {
public:
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock();

    // Takes the lock on the file (flock on the file itself; through a link, the file
    // linked to), made empty when there is none, waiting at most `wait` for another
    // holder to let go. Since a file is replaced by a rename, the lock is taken again
    // until it is held on the file the name gives. A failure says why in one line (without
    // the file's name): another program holds it, or the system's reason.
    static Result<FileLock> acquire(const std::filesystem::path& file,
                                    std::chrono::milliseconds wait);

    // Whether the file was made by taking the lock (it is empty then).
    bool created() const { return m_created; }
    // Removes the file made by taking the lock, when it is still empty: a
    // read-modify-write that writes nothing leaves no empty file behind.
    void removeIfCreatedEmpty();

private:
    FileLock(int fd, std::filesystem::path file, bool created)
        : m_fd(fd), m_file(std::move(file)), m_created(created) {}
    int m_fd = -1;
    std::filesystem::path m_file;
    bool m_created = false;
};

// How long a writer waits for the lock before it gives up and says so.
inline constexpr std::chrono::milliseconds kLockWait{30000};

}  // namespace tervalen::files

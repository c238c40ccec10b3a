// The files unit: a file written whole or not at all, keeping what the user set on it and
// refusing what it must not replace; the lock of a read-modify-write; reading only a
// regular file within a limit; text quoted on one line.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "files/atomic_write.h"
#include "files/file_lock.h"
#include "files/one_line.h"
#include "files/read_file.h"
#include "project_fixture.h"

#if defined(__unix__) || defined(__APPLE__)
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>
#define TERVALEN_TEST_POSIX 1
#endif

namespace tervalen::files {
namespace {

using project::testing::readFile;
using project::testing::ScratchFolder;
using project::testing::writeFile;
using namespace std::chrono_literals;

TEST(OneLine, ControlCharactersAreShownEscapedAndLongTextCut) {
    const struct {
        std::string in;
        std::size_t max;
        std::string out;
    } cases[] = {
        {"屋面 东侧", 0, "屋面 东侧"},
        {"a\nb\rc\td", 0, "a\\nb\\rc\\td"},
        {"\x1b[31m红\x1b[0m", 0, "\\x1b[31m红\\x1b[0m"},
        {std::string("a\0b", 3) + "\x7f", 0, "a\\x00b\\x7f"},
        {"x\u2028y\u2029z\u0085", 0, "x\\u2028y\\u2029z\\u0085"},
        {"\xff\xc3(", 0, "\\xff\\xc3("},  // not UTF-8
        {"一二三四五六", 4, "一二三四…"},
        {"一二三四", 4, "一二三四"},
        {std::string(1 << 20, '9'), 10, "9999999999…"},
    };
    for (const auto& c : cases) EXPECT_EQ(oneLine(c.in, c.max), c.out) << c.in.substr(0, 40);
}

TEST(AtomicWrite, WritesANewFileAndReplacesAnOldOneWhole) {
    ScratchFolder dir;
    ASSERT_EQ(writeAtomically(dir / "a.pdf", "one").why(), "");
    EXPECT_EQ(readFile(dir / "a.pdf"), "one");
    ASSERT_EQ(writeAtomically(dir / "a.pdf", "two").why(), "");
    EXPECT_EQ(readFile(dir / "a.pdf"), "two");
    EXPECT_EQ(dir.names(), std::vector<std::string>{"a.pdf"});
}

TEST(AtomicWrite, TheTemporaryNameIsAFileNameForAnyTarget) {
    for (const std::size_t length : {1u, 200u, 233u, 234u, 255u}) {
        const std::string name = temporaryBeside("/x/" + std::string(length, 'n')).filename();
        EXPECT_LE(name.size(), 255u) << length;
        EXPECT_TRUE(name.ends_with(".tmp")) << name;
    }
    EXPECT_EQ(temporaryBeside("/x/a.tvp").filename().string().rfind("a.tvp.", 0), 0u);
    // In the target's own folder: a rename from another file system fails ("Invalid
    // cross-device link"), so a project on /dev/shm could not be saved.
    for (const char* target : {"/x/a.tvp", "/dev/shm/p/b.pdf", "rel/c.dxf"})
        EXPECT_EQ(temporaryBeside(target).parent_path(),
                  std::filesystem::path(target).parent_path())
            << target;
}

#ifdef TERVALEN_TEST_POSIX

mode_t modeOf(const std::filesystem::path& file) {
    struct stat st {};
    EXPECT_EQ(::stat(file.c_str(), &st), 0) << file;
    return st.st_mode & 07777;
}

// The umask for the scope.
class Umask {
public:
    explicit Umask(mode_t mask) : m_old(::umask(mask)) {}
    ~Umask() { ::umask(m_old); }

private:
    mode_t m_old;
};

TEST(AtomicWrite, KeepsTheModeTheFileHadUnderAnyUmask) {
    ScratchFolder dir;
    for (const mode_t mask : {022, 077})
        for (const mode_t mode : {0600, 0640, 0664, 0666, 0755}) {
            SCOPED_TRACE(std::to_string(mode) + " under " + std::to_string(mask));
            const Umask scoped(mask);
            const auto file = dir / "a.tvp";
            writeFile(file, "old");
            ASSERT_EQ(::chmod(file.c_str(), mode), 0);
            ASSERT_EQ(writeAtomically(file, "new").why(), "");
            EXPECT_EQ(modeOf(file), mode);
            EXPECT_EQ(readFile(file), "new");
            std::filesystem::remove(file);
        }
    // A new file is made as any other: the umask applies.
    const Umask scoped(027);
    ASSERT_EQ(writeAtomically(dir / "new.tvp", "x").why(), "");
    EXPECT_EQ(modeOf(dir / "new.tvp"), 0640u);
}

TEST(AtomicWrite, ANameAsLongAsTheSystemAllowsIsWritten) {
    ScratchFolder dir;
    const auto file = dir / (std::string(251, 'n') + ".tvp");
    ASSERT_EQ(writeAtomically(file, "one").why(), "");
    ASSERT_EQ(writeAtomically(file, "two").why(), "");
    EXPECT_EQ(readFile(file), "two");
    EXPECT_EQ(dir.names().size(), 1u);
}

TEST(AtomicWrite, ThroughALinkTheFileLinkedToIsWrittenAndMadeWhenMissing) {
    ScratchFolder dir;
    std::filesystem::create_directory(dir / "sub");
    std::filesystem::create_symlink("sub/target.tvp", dir / "link.tvp");
    ASSERT_EQ(writeAtomically(dir / "link.tvp", "made").why(), "");
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.tvp"));
    EXPECT_EQ(readFile(dir / "sub" / "target.tvp"), "made");
    // A link to a link.
    std::filesystem::create_symlink("link.tvp", dir / "second.tvp");
    ASSERT_EQ(writeAtomically(dir / "second.tvp", "again").why(), "");
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "second.tvp"));
    EXPECT_EQ(readFile(dir / "sub" / "target.tvp"), "again");
}

// What must not be replaced is refused, the target byte for byte as it was and nothing
// left beside it.
TEST(AtomicWrite, RefusesWhatItMustNotReplace) {
    ScratchFolder dir;
    writeFile(dir / "readonly.pdf", "keep");
    ::chmod((dir / "readonly.pdf").c_str(), 0444);
    std::filesystem::create_directory(dir / "folder.pdf");
    ASSERT_EQ(::mkfifo((dir / "fifo.pdf").c_str(), 0644), 0);
    std::filesystem::create_directory(dir / "locked");
    writeFile(dir / "locked" / "a.pdf", "keep");
    ::chmod((dir / "locked").c_str(), 0555);
    const bool asRoot = ::geteuid() == 0;
    const struct {
        const char* what;
        std::filesystem::path file;
        std::string says;
    } cases[] = {
        {"a read-only file", dir / "readonly.pdf", "文件是只读的，未替换"},
        {"a folder", dir / "folder.pdf", "Is a directory"},
        {"a FIFO", dir / "fifo.pdf", "不是普通文件"},
        {"a device", "/dev/null", "不是普通文件"},
        {"a folder that cannot be written", dir / "locked" / "a.pdf",
         asRoot ? "" : "Permission denied"},
        {"no such folder", dir / "none" / "a.pdf", "No such file or directory"},
    };
    for (const auto& c : cases) {
        if (c.says.empty()) continue;  // the superuser writes anywhere
        SCOPED_TRACE(c.what);
        const auto before = dir.names();
        const std::string said = writeAtomically(c.file, "new").why();
        EXPECT_NE(said.find(c.says), std::string::npos) << said;
        EXPECT_EQ(said.find('\n'), std::string::npos);
        EXPECT_EQ(dir.names(), before);
    }
    EXPECT_EQ(readFile(dir / "readonly.pdf"), "keep");
    EXPECT_EQ(readFile(dir / "locked" / "a.pdf"), "keep");
    EXPECT_TRUE(std::filesystem::is_fifo(dir / "fifo.pdf"));
}

// A full disk: a small file system of its own (only where this process may mount one).
TEST(AtomicWrite, AFullDiskLeavesTheOldFile) {
    ScratchFolder dir;
    const auto mountPoint = dir / "small";
    std::filesystem::create_directory(mountPoint);
    if (::mount("tervalen-test", mountPoint.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a small file system here";
    struct Unmount {
        std::filesystem::path at;
        ~Unmount() { ::umount(at.c_str()); }
    } unmount{mountPoint};
    const auto file = mountPoint / "a.pdf";
    ASSERT_EQ(writeAtomically(file, std::string(20000, 'o')).why(), "");
    const std::string said = writeAtomically(file, std::string(100000, 'n')).why();
    EXPECT_NE(said.find("No space left on device"), std::string::npos) << said;
    EXPECT_EQ(readFile(file), std::string(20000, 'o'));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(mountPoint), {}), 1);
}

TEST(SameFile, ThePathsOfOneFile) {
    ScratchFolder dir;
    writeFile(dir / "p.tvp", "x");
    std::filesystem::create_symlink("p.tvp", dir / "link.tvp");
    std::filesystem::create_symlink("missing.tvp", dir / "dangling.tvp");
    EXPECT_TRUE(sameFile(dir / "p.tvp", dir / "." / "p.tvp"));
    EXPECT_TRUE(sameFile(dir / "p.tvp", dir / "link.tvp"));
    EXPECT_TRUE(sameFile(dir / "new.pdf", dir / "." / "new.pdf"));
    EXPECT_TRUE(sameFile(dir / "dangling.tvp", dir / "missing.tvp"));
    EXPECT_FALSE(sameFile(dir / "p.tvp", dir / "p.pdf"));
    EXPECT_FALSE(sameFile(dir / "a.pdf", dir / "b.pdf"));
}

TEST(ReadRegularFile, OnlyARegularFileWithinTheLimit) {
    ScratchFolder dir;
    writeFile(dir / "a.tvp", "hello");
    ASSERT_EQ(::mkfifo((dir / "fifo.tvp").c_str(), 0644), 0);
    EXPECT_EQ(readRegularFile(dir / "a.tvp", 5).value(), "hello");
    // Neither waits: a FIFO with no writer, a device that never ends.
    const struct {
        std::filesystem::path file;
        std::size_t limit;
        std::string says;
    } refused[] = {{dir / "a.tvp", 4, "文件大于 4 字节，超出能读取的上限"},
                   {dir / "fifo.tvp", 1 << 20, "不是普通文件"},
                   {"/dev/zero", 1 << 20, "不是普通文件"},
                   {dir.path(), 1 << 20, "Is a directory"}};
    for (const auto& c : refused) {
        const Result<std::string> read = readRegularFile(c.file, c.limit);
        ASSERT_FALSE(read) << c.file;
        EXPECT_NE(read.why().find(c.says), std::string::npos) << read.why();
    }
    EXPECT_EQ(sizeText(32u << 20), "32 MiB");
}

// The lock taken, or none (with the reason in the test's output).
std::optional<FileLock> held(Result<FileLock> lock) {
    if (!lock) {
        ADD_FAILURE() << lock.why();
        return std::nullopt;
    }
    return std::move(lock).value();
}

TEST(FileLock, ASecondHolderWaitsAndThenSaysSo) {
    ScratchFolder dir;
    const auto file = dir / "p.tvp";
    std::optional<FileLock> first = held(FileLock::acquire(file, 0ms));
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->created());
    EXPECT_TRUE(std::filesystem::exists(file));
    const auto started = std::chrono::steady_clock::now();
    const auto second = FileLock::acquire(file, 100ms);
    EXPECT_FALSE(second);
    EXPECT_GE(std::chrono::steady_clock::now() - started, 100ms);
    EXPECT_NE(second.why().find("另一个程序正在修改它"), std::string::npos) << second.why();
    // Made and left empty: taken away again.
    first->removeIfCreatedEmpty();
    EXPECT_FALSE(std::filesystem::exists(file));
    first.reset();
    writeFile(file, "x");
    auto again = held(FileLock::acquire(file, 0ms));
    ASSERT_TRUE(again);
    EXPECT_FALSE(again->created());
    again->removeIfCreatedEmpty();
    EXPECT_EQ(readFile(file), "x");
}

// The holder replaces the file by a rename, as a save does; the one that waited must hold
// the new file, so that a third waits for it in turn.
TEST(FileLock, AWaiterHoldsTheFileThatReplacedTheOneItWaitedOn) {
    ScratchFolder dir;
    const auto file = dir / "p.tvp";
    writeFile(file, "old");
    std::optional<FileLock> first = held(FileLock::acquire(file, 0ms));
    ASSERT_TRUE(first);
    std::optional<FileLock> second;
    std::thread waiter([&] { second = held(FileLock::acquire(file, 10s)); });
    std::this_thread::sleep_for(50ms);
    ASSERT_EQ(writeAtomically(file, "new").why(), "");
    first.reset();
    waiter.join();
    ASSERT_TRUE(second);
    EXPECT_FALSE(FileLock::acquire(file, 0ms)) << "the new file is not held";
}

TEST(FileLock, NotOnAFolder) {
    ScratchFolder dir;
    const auto lock = FileLock::acquire(dir.path(), 0ms);
    EXPECT_FALSE(lock);
    EXPECT_FALSE(lock.why().empty());
}

#endif

}  // namespace
}  // namespace tervalen::files

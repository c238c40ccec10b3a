// Saving a project: the new file replaces the old one whole or not at all. A save that
// fails names the file and the system's reason and leaves the old file as it was; a
// process killed while saving leaves the old project or the new one on disk, never a mix.

#include <gtest/gtest.h>

#include <chrono>
#include <random>

#include "project_fixture.h"

#if defined(__unix__) || defined(__APPLE__)
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#define TERVALEN_TEST_POSIX 1
#endif

namespace tervalen::project {
namespace {

using testing::readFile;
using testing::sampleProject;
using testing::ScratchFolder;
using testing::writeFile;

TEST(Save, ReplacesTheOldFileAndLeavesNothingBeside) {
    ScratchFolder dir;
    const auto file = dir / "a.tvp";
    writeFile(file, "old");
    Project p = sampleProject();
    ASSERT_EQ(save(p, file).why(), "");
    EXPECT_EQ(readFile(file), serialize(p));
    p.sheet.records.pop_back();
    ASSERT_EQ(save(p, file).why(), "");
    EXPECT_EQ(load(file), p);
    EXPECT_EQ(dir.names(), std::vector<std::string>{"a.tvp"});
}

#ifdef TERVALEN_TEST_POSIX

TEST(Save, KeepsTheOldFilesPermissionsAndWritesThroughALink) {
    ScratchFolder dir;
    const auto file = dir / "a.tvp";
    writeFile(file, "old");
    ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
    std::filesystem::create_symlink("a.tvp", dir / "link.tvp");
    ASSERT_EQ(save(sampleProject(), dir / "link.tvp").why(), "");
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.tvp"));
    EXPECT_EQ(load(file), sampleProject());
}

// Runs `body` in a child process; its exit status.
template <class Body>
int inChild(Body body) {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(body());
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
}

TEST(Save, AFailedSaveSaysWhyAndLeavesTheOldFile) {
    ScratchFolder dir;
    const Project p = sampleProject();
    struct Case {
        const char* what;
        std::filesystem::path file;
        std::string reason;
    };
    std::filesystem::create_directory(dir / "文件夹.tvp");
    std::filesystem::create_directory(dir / "只读");
    writeFile(dir / "只读" / "a.tvp", "old");
    ::chmod((dir / "只读").c_str(), 0555);
    const bool readOnlyHolds = ::access((dir / "只读").c_str(), W_OK) != 0;  // not for root
    std::vector<Case> cases = {
        {"no such folder", dir / "没有" / "a.tvp", "No such file or directory"},
        {"a folder of that name", dir / "文件夹.tvp", "Is a directory"},
    };
    if (readOnlyHolds)
        cases.push_back({"read-only folder", dir / "只读" / "a.tvp", "Permission denied"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto before = dir.names();
        const std::string said = save(p, c.file).why();
        EXPECT_NE(said.find("无法保存工程文件“" + c.file.string() + "”"), std::string::npos)
            << said;
        EXPECT_NE(said.find(c.reason), std::string::npos) << said;
        EXPECT_EQ(dir.names(), before);
    }
    EXPECT_EQ(readFile(dir / "只读" / "a.tvp"), "old");
    EXPECT_TRUE(std::filesystem::is_directory(dir / "文件夹.tvp"));

    // The disk filling up while the file is written: a limit on the size of files the
    // process may write makes the write fail as a full disk does.
    writeFile(dir / "a.tvp", "old");
    const int status = inChild([&] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const std::string said = save(p, dir / "a.tvp").why();
        return said.find("无法保存工程文件") != std::string::npos &&
                       said.find("File too large") != std::string::npos
                   ? 0
                   : 1;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(readFile(dir / "a.tvp"), "old");
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"a.tvp", "只读", "文件夹.tvp"}));
}

// A child saves two projects in turn, over and over, and is killed at a random moment;
// the file on disk must then read as one of the two, whole.
TEST(Save, AKillDuringASaveLeavesTheOldOrTheNewProject) {
    ScratchFolder dir;
    const auto file = dir / "a.tvp";
    Project one = sampleProject();
    Project two = one;
    // Make the files big enough for a kill to land inside a write.
    for (int i = 0; i < 40; ++i) two.sheet.records.push_back(one.sheet.records[i % 6]);
    two.sheet.header.project = "第二个";
    const std::string textOne = serialize(one), textTwo = serialize(two);
    ASSERT_EQ(save(one, file).why(), "");

    // Kills spread over some four saves' time, as long as a save takes on this machine now.
    const auto started = std::chrono::steady_clock::now();
    for (int i = 0; i < 4; ++i) ASSERT_EQ(save(i % 2 ? one : two, dir / "timing.tvp").why(), "");
    std::filesystem::remove(dir / "timing.tvp");
    const auto perSave = std::chrono::duration_cast<std::chrono::microseconds>(
                             std::chrono::steady_clock::now() - started) /
                         4;
    std::mt19937 random(14);
    std::uniform_int_distribution<long> micros(0, 4 * perSave.count() + 1000);
    int sawOne = 0, sawTwo = 0;
    // At least 40 kills, and on until both projects have been seen (a busy machine may
    // delay the child's first save past the first kills).
    for (int round = 0; round < 400 && (round < 40 || !sawOne || !sawTwo); ++round) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            for (int i = 0;; ++i)
                if (!save(i % 2 ? one : two, file).ok()) ::_exit(1);
        }
        ::usleep(static_cast<useconds_t>(micros(random)));
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving child stopped on its own";
        const std::string text = readFile(file);
        ASSERT_TRUE(text == textOne || text == textTwo) << "round " << round;
        (text == textOne ? sawOne : sawTwo)++;
        const Project read = load(file);
        EXPECT_EQ(serialize(read), text);
    }
    // The kills landed at different points of the loop.
    EXPECT_GT(sawOne, 0);
    EXPECT_GT(sawTwo, 0);
    // A killed save may leave its new file beside the old one, never in its place.
    for (const std::string& name : dir.names())
        EXPECT_TRUE(name == "a.tvp" || name.ends_with(".tmp")) << name;
}

#endif

}  // namespace
}  // namespace tervalen::project

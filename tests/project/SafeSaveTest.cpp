#include "project/SafeSave.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "project/WordRead.h"
#include "OrdinaryUser.h"

namespace torvex {
namespace {

namespace fs = std::filesystem;

class SafeSaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = testing::OrdinaryUserTempFolder() / ("torvex-safesave-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override {
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(folder);
    }
    int FilesIn(const fs::path& dir) {
        return static_cast<int>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
    }
    fs::path folder;
};

TEST_F(SafeSaveTest, WritesTheBytesAsGivenAndReplacesTheOldFile) {
    const std::string path = (folder / "Wall.tx4d").string();
    SaveTextFile(path, "Old\r\n");
    ::chmod(path.c_str(), 0640);
    SaveTextFile(path, std::string("New\r\n1\t2 \0x", 10));
    EXPECT_EQ(LoadTextFile(path), std::string("New\r\n1\t2 \0x", 10));
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);  // the old file's permissions are kept
    EXPECT_EQ(FilesIn(folder), 1);        // no temporary file is left behind
}

// A file that already holds the text keeps its time, by which results beside it are known to
// be of it; other text, or a time ahead of the clock, is written.
TEST_F(SafeSaveTest, AnUnchangedFileKeepsItsTime) {
    const std::string path = (folder / "wall.tx4d").string();
    SaveTextFile(path, "same\r\n");
    const auto past = fs::file_time_type::clock::now() - std::chrono::hours(1);
    const auto future = fs::file_time_type::clock::now() + std::chrono::hours(1);
    const struct {
        fs::file_time_type before;
        const char* text;
        bool kept;
    } cases[] = {{past, "same\r\n", true}, {past, "same\r\n\r\n", false}, {past, "sAme\r\n", false},
                 {future, "same\r\n", false}};
    for (const auto& c : cases) {
        SaveTextFile(path, "same\r\n");
        fs::last_write_time(path, c.before);
        SaveTextFile(path, c.text);
        EXPECT_EQ(LoadTextFile(path), c.text);
        EXPECT_EQ(fs::last_write_time(path) == c.before, c.kept) << c.text;
    }
}

TEST_F(SafeSaveTest, AFailedSaveKeepsThePreviousFile) {
    const fs::path target = folder / "Wall.tx4d";
    fs::create_directories(target / "inside");  // a folder where the file should be
    EXPECT_THROW(SaveTextFile(target.string(), "New"), EInOutError);
    EXPECT_TRUE(fs::is_directory(target / "inside"));
    EXPECT_EQ(FilesIn(folder), 1);

    const std::string missing = (folder / "no-such-folder" / "Wall.tx4d").string();
    try {
        SaveTextFile(missing, "x");
        FAIL() << "saving into a missing folder succeeded";
    } catch (const EInOutError& error) {
        EXPECT_NE(std::string(error.what()).find(missing), std::string::npos) << error.what();
    }
}

TEST_F(SafeSaveTest, UnwritableFolderLeavesTheOldFileIntact) {
    testing::AsOrdinaryUser(folder.string(), [&] {
        const std::string path = (folder / "Wall.tx4d").string();
        SaveTextFile(path, "Old\r\n");
        fs::permissions(folder, fs::perms::owner_write, fs::perm_options::remove);
        EXPECT_THROW(SaveTextFile(path, "New\r\n"), EInOutError);
        EXPECT_EQ(LoadTextFile(path), "Old\r\n");
    });
}

TEST_F(SafeSaveTest, SavingThroughALinkReplacesItsTargetAndKeepsTheLink) {
    fs::create_directories(folder / "real");
    const fs::path target = folder / "real" / "Wall.tx4d";
    SaveTextFile(target.string(), "Old\r\n");
    ::chmod(target.c_str(), 0604);
    fs::create_symlink("real/Wall.tx4d", folder / "Link.tx4d");  // relative, as users make them
    fs::create_symlink(folder / "Link.tx4d", folder / "Chain.tx4d");
    SaveTextFile((folder / "Chain.tx4d").string(), "New\r\n");
    EXPECT_TRUE(fs::is_symlink(folder / "Link.tx4d"));
    EXPECT_TRUE(fs::is_symlink(folder / "Chain.tx4d"));
    EXPECT_EQ(LoadTextFile(target.string()), "New\r\n");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
    EXPECT_EQ(FilesIn(folder / "real"), 1);
}

TEST_F(SafeSaveTest, RootSavingAUsersFileLeavesItTheUsers) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root can give a file to another user";
    const std::string path = (folder / "Wall.tx4d").string();
    SaveTextFile(path, "Old\r\n");
    ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
    SaveTextFile(path, "New\r\n");
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_EQ(st.st_gid, 65534u);
}

TEST_F(SafeSaveTest, TheNextSaveRemovesWhatAKilledSaveLeft) {
    const std::string path = (folder / "Wall.tx4d").string();
    EXPECT_EQ(TemporaryPrefix(path), ".Wall.tx4d.torvex-save-");
    // Left by processes that are gone (no process has a number this large) or by this one;
    // a save of another file and a save still running elsewhere (process 1) are left alone.
    const char* left[] = {".Wall.tx4d.torvex-save-999999999-a1B2c3",
                          ".Wall.tx4d.torvex-save-x"};
    const std::string kept[] = {".Wall.tx4d.torvex-save-1-zzzzzz", ".Other.tx4d.torvex-save-999999999-q"};
    for (const char* name : left) SaveTextFile((folder / name).string(), "half");
    for (const std::string& name : kept) SaveTextFile((folder / name).string(), "half");
    SaveTextFile((folder / (".Wall.tx4d.torvex-save-" + std::to_string(::getpid()) + "-own")).string(), "half");
    SaveTextFile(path, "Whole\r\n");
    for (const char* name : left) EXPECT_FALSE(fs::exists(folder / name)) << name;
    EXPECT_FALSE(fs::exists(folder / (".Wall.tx4d.torvex-save-" + std::to_string(::getpid()) + "-own")));
    for (const std::string& name : kept) EXPECT_TRUE(fs::exists(folder / name)) << name;
    EXPECT_EQ(FilesIn(folder), 3);
}

TEST_F(SafeSaveTest, DevicesAndPipesAreNeverReplaced) {
    const std::string pipe = (folder / "Pipe.tx4d").string();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    for (const std::string& path : {pipe, std::string("/dev/null")}) {
        try {
            SaveTextFile(path, "x");
            ADD_FAILURE() << path << " was replaced";
        } catch (const EInOutError& error) {
            EXPECT_EQ(std::string(error.what()),
                      "Cannot write \"" + path +
                          "\": it is not a regular file (a device, a pipe or a socket).");
        }
    }
    EXPECT_EQ(fs::status(pipe).type(), fs::file_type::fifo);
    EXPECT_EQ(fs::status("/dev/null").type(), fs::file_type::character);
}

TEST_F(SafeSaveTest, LoadingAMissingFileIsAnInOutError) {
    EXPECT_THROW(LoadTextFile((folder / "none.tx4d").string()), EInOutError);
}

}  // namespace
}  // namespace torvex

#include "project/SafeSave.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "project/WordRead.h"

namespace torvex {
namespace {

namespace fs = std::filesystem;

class SafeSaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("torvex-safesave-" + std::to_string(::getpid()));
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
    if (::geteuid() == 0) GTEST_SKIP() << "root ignores folder permissions";
    const std::string path = (folder / "Wall.tx4d").string();
    SaveTextFile(path, "Old\r\n");
    fs::permissions(folder, fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_THROW(SaveTextFile(path, "New\r\n"), EInOutError);
    EXPECT_EQ(LoadTextFile(path), "Old\r\n");
}

TEST_F(SafeSaveTest, LoadingAMissingFileIsAnInOutError) {
    EXPECT_THROW(LoadTextFile((folder / "none.tx4d").string()), EInOutError);
}

}  // namespace
}  // namespace torvex

// torvex-run as a user starts it: its exit status and messages for option blocks it must not
// take silently, and for command lines that are mistakes.

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;

struct TRun {
    int status = -1;
    std::string out, err;
};

std::string FileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class RunCommandLine : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("torvex-run-line-" + std::to_string(::getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string Path(const std::string& name) const { return (folder_ / name).string(); }

    std::string Write(const std::string& name, const std::string& text) const {
        std::ofstream(Path(name), std::ios::binary) << text;
        return Path(name);
    }

    // torvex-run with `arguments`, its standard output and error caught in files.
    TRun Run(const std::vector<std::string>& arguments) const {
        std::vector<std::string> words = {TORVEX_RUN_PROGRAM};
        words.insert(words.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& word : words) argv.push_back(word.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, Path("out.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, 2, Path("err.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        pid_t pid = 0;
        TRun run;
        if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
            int status = 0;
            ::waitpid(pid, &status, 0);
            run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        run.out = FileText(Path("out.txt"));
        run.err = FileText(Path("err.txt"));
        return run;
    }

    fs::path folder_;
};

std::string Example(const std::string& name) { return FileText(std::string(TORVEX_SOURCE_DIR) + "/examples/" + name); }

// A garbled header after the data, or a block before the last stage, stops the file with
// exit status 2 and the line named, instead of running without its settings.
TEST_F(RunCommandLine, AnOptionBlockItCannotTakeIsAnErrorNamingItsLine) {
    const std::string exactly = "\" reads as the start of an option block, whose first line must be exactly "
                                "\"TORVEX-OPTIONS 1\".";
    const std::string sand = Example("cantilever-sand.tx4d");  // 14 lines
    const std::string staged = Example("three-stage-excavation.tx4d");
    const std::string block = "TORVEX-OPTIONS 1\r\nSeismicKh 0.2\r\nEND\r\n";
    const struct {
        std::string text, says;
    } cases[] = {
        {sand + "TORVEX-OPTION 1\r\nSeismicKh 0.2\r\nEND\r\n", "Error on Line 15 The line \"TORVEX-OPTION 1" + exactly},
        {sand + "\xEF\xBB\xBF" + block, "Error on Line 15 The line \"\\xEF\\xBB\\xBFTORVEX-OPTIONS 1" + exactly},
        {sand + '\0' + block, "Error on Line 15 The line \"\\x00TORVEX-OPTIONS 1" + exactly},
        {std::string(staged).insert(staged.find(" Stage No : 3"), block),
         "Error on Line 30 An option block may only follow the file's last stage; this one comes before a later "
         "stage. Move it to the end of the file."},
    };
    for (const auto& c : cases) {
        const std::string file = Write("wall.tx4d", c.text);
        const TRun run = Run({file});
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, file + ": The data file cannot be read: " + c.says + "\n");
    }
    // In its place the block is taken.
    const TRun run = Run({Write("wall.tx4d", sand + block)});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("max moment 174191.03 lbs-in"), std::string::npos) << run.out;
}

TEST_F(RunCommandLine, AMistakenCommandLineStopsBeforeAnyWork) {
    const std::string file = Write("sand.tx4d", Example("cantilever-sand.tx4d"));
    const std::string plain = Write("plain", "not a folder");
    const struct {
        std::vector<std::string> arguments;
        std::string err;
    } cases[] = {
        {{"--vary", "FreeHeight=100:120:2", "--stage", "", file}, "torvex-run: --stage needs a value, not an empty text.\n"},
        {{"--vary", "", file}, "torvex-run: --vary needs a value, not an empty text.\n"},
        {{"--vary", "FreeHeight=100:120:2", "--vary", "SeismicKh=0:0.1:2", file},
         "torvex-run: --vary is given twice; a study takes one.\n"},
        {{"--stage", "1", "--stage", "1", "--vary", "FreeHeight=100:120:2", file},
         "torvex-run: --stage is given twice; a study takes one.\n"},
        {{"--csv", plain, file}, "torvex-run: --csv " + plain + ": it is a file, not a folder.\n"},
        {{"--pdf", plain, file}, "torvex-run: --pdf " + plain + ": it is a file, not a folder.\n"},
        {{"--vary", "Free\x1b]0;x\aHeight=1:2:2", file},
         "torvex-run: \"Free\\x1B]0;x\\x07Height\" is not an input a study can vary; the input to vary is "},
    };
    for (const auto& c : cases) {
        const TRun run = Run(c.arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err.substr(0, c.err.size()), c.err);
        EXPECT_EQ(run.out, "");
        EXPECT_FALSE(fs::exists(Path("sand.tx4o")));  // nothing was analysed
    }
    EXPECT_EQ(FileText(plain), "not a folder");
}

}  // namespace

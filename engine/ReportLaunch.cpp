#include "ReportLaunch.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <ostream>

extern char** environ;

namespace torvex::engine {

std::string ReportProgramPath() {
    char self[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) return "torvex-report";
    const std::string path(self, static_cast<size_t>(length));
    const size_t slash = path.find_last_of('/');
    return (slash == std::string::npos ? std::string(".") : path.substr(0, slash)) + "/torvex-report";
}

int RunReportProgram(const std::string& program, const std::string& folder, const std::vector<std::string>& files,
                     std::ostream& err) {
    // "--" ends the options: a data file may begin with "-".
    std::vector<std::string> words = {program, "--", folder};
    words.insert(words.end(), files.begin(), files.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    err.flush();
    pid_t child = 0;
    const int started = ::posix_spawn(&child, program.c_str(), nullptr, nullptr, argv.data(), environ);
    if (started != 0) {
        err << "torvex-run: cannot start " << program << ": " << std::strerror(started) << "\n";
        return 2;
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0)
        if (errno != EINTR) {
            err << "torvex-run: lost the report program: " << std::strerror(errno) << "\n";
            return 2;
        }
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    err << "torvex-run: " << program << " ended by signal " << WTERMSIG(status) << "\n";
    return 2;
}

}  // namespace torvex::engine

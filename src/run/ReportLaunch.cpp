#include "run/ReportLaunch.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>
#include <optional>
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

std::string ReportPdfPath(const std::string& folder, const std::string& dataFile) {
    return (std::filesystem::path(folder) / (std::filesystem::path(dataFile).stem().string() + ".pdf")).string();
}

int WriteReports(const std::string& program, const std::string& folder, const std::vector<std::string>& files,
                 const std::vector<int>& fileStatus, std::ostream& err) {
    struct TOldReport {
        std::string pdf;
        std::optional<struct stat> before;
    };
    std::vector<std::string> reported;
    std::vector<TOldReport> old;
    for (size_t i = 0; i < files.size(); ++i) {
        const std::string pdf = ReportPdfPath(folder, files[i]);
        if (i < fileStatus.size() && fileStatus[i] >= 2) {
            ::unlink(pdf.c_str());
            continue;
        }
        reported.push_back(files[i]);
        struct stat st {};
        old.push_back({pdf, ::stat(pdf.c_str(), &st) == 0 && S_ISREG(st.st_mode) ? std::optional(st) : std::nullopt});
    }
    if (reported.empty()) return 0;
    const int status = RunReportProgram(program, folder, reported, err);
    // A new report replaces the old file (a new inode); the old file still in place was not
    // replaced, and it describes other input.
    for (const TOldReport& report : old) {
        struct stat now {};
        if (report.before && ::stat(report.pdf.c_str(), &now) == 0 && now.st_ino == report.before->st_ino &&
            now.st_dev == report.before->st_dev && now.st_mtim.tv_sec == report.before->st_mtim.tv_sec &&
            now.st_mtim.tv_nsec == report.before->st_mtim.tv_nsec)
            ::unlink(report.pdf.c_str());
    }
    return status;
}

}  // namespace torvex::engine

#include "output/ResultSave.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <set>

#include "project/SafeSave.h"
#include "project/WordRead.h"

namespace torvex::engine {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kTemporaryInfix = ".tmp";

[[noreturn]] void Fail(const std::string& what, const std::string& path, int error) {
    throw EInOutError(what + " \"" + path + "\": " + std::strerror(error) + ".");
}

// A temporary name beside the target, unique among the threads and processes writing there.
std::string TemporaryName(const std::string& path) {
    static std::atomic<unsigned long> counter{0};
    return path + std::string(kTemporaryInfix) + std::to_string(::getpid()) + "-" + std::to_string(counter++);
}

// The writing process of a temporary result file's name, or 0 when the name is not one:
// a result file's name, the infix, the process id, "-" and a count.
long TemporaryOwner(const std::string& name) {
    const size_t infix = name.rfind(kTemporaryInfix);
    if (infix == std::string::npos) return 0;
    const std::string target = name.substr(0, infix);
    static const char* const kResultExtensions[] = {".tx4o", ".tx4p", ".tx4r", ".tx4y", ".csv"};
    bool result = false;
    for (const char* extension : kResultExtensions)
        result = result || (target.size() > std::strlen(extension) && target.ends_with(extension));
    if (!result) return 0;
    const std::string_view tail = std::string_view(name).substr(infix + kTemporaryInfix.size());
    const size_t dash = tail.find('-');
    if (dash == 0 || dash == std::string_view::npos || dash + 1 == tail.size() || dash > 9) return 0;
    for (size_t i = 0; i < tail.size(); ++i)
        if (i != dash && (tail[i] < '0' || tail[i] > '9')) return 0;
    return std::stol(std::string(tail.substr(0, dash)));
}

}  // namespace

TStagedFiles::~TStagedFiles() {
    for (const TStaged& file : staged_) ::unlink(file.temporary.c_str());
}

void TStagedFiles::Add(const std::string& path, std::string_view text) {
    // Created with 0666 so the umask applies as to any new file (no process-wide umask calls,
    // which would race with the other threads); an existing file keeps its permissions.
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = TemporaryName(path);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) Fail("Cannot create a file beside", path, errno);
    if (struct stat st; ::stat(path.c_str(), &st) == 0) ::fchmod(fd, st.st_mode & 07777);
    // A full disk or a file-size limit (with SIGXFSZ ignored) ends here with the reason.
    const bool written = WriteAll(fd, text);
    const int writeError = errno;
    if (::close(fd) != 0 || !written) {
        const int error = written ? errno : writeError;
        ::unlink(temporary.c_str());
        Fail("Cannot write", path, error);
    }
    staged_.push_back({path, std::move(temporary)});
}

void TStagedFiles::Commit() {
    while (!staged_.empty()) {
        const TStaged& file = staged_.front();
        // The old file goes first: ext4 writes a file renamed over another to disk at once
        // (its safeguard for programs that replace files without syncing them), which would
        // cost each result file milliseconds. A reader still sees a whole file or none.
        ::unlink(file.path.c_str());
        if (::rename(file.temporary.c_str(), file.path.c_str()) != 0) Fail("Cannot replace", file.path, errno);
        staged_.erase(staged_.begin());
    }
}

void SaveResultFile(const std::string& path, std::string_view text) {
    TStagedFiles file;
    file.Add(path, text);
    file.Commit();
}

void RemoveLeftoverTemporaries(const std::string& folder) {
    static std::mutex mutex;
    static std::set<std::string> cleaned;
    const std::string key = folder.empty() ? "." : folder;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        if (!cleaned.insert(key).second) return;
    }
    std::error_code error;
    fs::directory_iterator entries(key, error);
    if (error) return;
    for (const fs::directory_entry& entry : entries) {
        const long owner = TemporaryOwner(entry.path().filename().string());
        // This process's own temporary files are other threads' work in progress.
        if (owner > 0 && owner != ::getpid() && ProcessIsGone(owner) && entry.is_regular_file(error))
            fs::remove(entry.path(), error);
    }
}

}  // namespace torvex::engine

#include "ResultSave.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

#include "project/SafeSave.h"
#include "project/WordRead.h"

namespace torvex::engine {
namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& path, int error) {
    throw EInOutError(what + " \"" + path + "\": " + std::strerror(error) + ".");
}

// A temporary name beside the target, unique among the threads and processes writing there.
std::string TemporaryName(const std::string& path) {
    static std::atomic<unsigned long> counter{0};
    return path + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
}

}  // namespace

void SaveResultFile(const std::string& path, std::string_view text) {
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
    const bool written = WriteAll(fd, text);
    const int writeError = errno;
    if (::close(fd) != 0 || !written) {
        const int error = written ? errno : writeError;
        ::unlink(temporary.c_str());
        Fail("Cannot write", path, error);
    }
    // The old file goes first: ext4 writes a file renamed over another to disk at once (its
    // safeguard for programs that replace files without syncing them), which would cost each
    // result file milliseconds. A reader still sees a whole file or none, never half of one.
    ::unlink(path.c_str());
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        Fail("Cannot replace", path, error);
    }
}

}  // namespace torvex::engine

#include "project/SafeSave.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <optional>
#include <utility>
#include <string>

#include "project/WordRead.h"

namespace torvex {
namespace {

namespace fs = std::filesystem;

[[noreturn]] void Fail(const std::string& what, const std::string& path, int error) {
    throw EInOutError(what + " \"" + path + "\": " + std::strerror(error) + ".");
}

}  // namespace

bool WriteAll(int fd, std::string_view text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

bool ProcessIsGone(long pid) {
    return pid <= 0 || pid == ::getpid() || (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH);
}

std::string TemporaryPrefix(const std::string& path) {
    const fs::path target(path);
    return "." + target.filename().string() + kTemporaryInfix;
}

namespace {

// The file a path finally names: a symbolic link is followed to its target (also when the
// target does not exist yet), so that saving replaces the target and keeps the link.
std::string FollowLinks(const std::string& path) {
    fs::path current(path);
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(current, error))) return current.string();
        const fs::path target = fs::read_symlink(current, error);
        if (error) return current.string();
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    return current.string();  // a loop of links: the rename below reports it
}

// Removes the temporary files that an earlier save of the same file left behind when it
// was killed: their names carry the saving process, which must be gone (or be this one).
void RemoveLeftTemporaries(const fs::path& folder, const std::string& prefix) {
    std::error_code error;
    fs::directory_iterator entries(folder.empty() ? fs::path(".") : folder, error);
    if (error) return;
    for (const fs::directory_entry& entry : entries) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(prefix, 0) != 0) continue;
        if (ProcessIsGone(std::strtol(name.c_str() + prefix.size(), nullptr, 10)))
            fs::remove(entry.path(), error);
    }
}

bool HoldsText(const std::string& path, const std::string& text) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    std::string held(text.size() + 1, '\0');  // one byte more: a file that grew meanwhile differs
    size_t got = 0;
    for (ssize_t n; got < held.size() && (n = ::read(fd, held.data() + got, held.size() - got)) != 0;) {
        if (n < 0) {
            if (errno == EINTR) continue;
            break;
        }
        got += static_cast<size_t>(n);
    }
    ::close(fd);
    return got == text.size() && std::equal(text.begin(), text.end(), held.begin());
}

void SyncFolder(const fs::path& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);  // the rename is then on disk too; a folder that cannot sync is no failure
    ::close(fd);
}

}  // namespace

void SaveTextFile(const std::string& givenPath, const std::string& text) {
    const std::string path = FollowLinks(givenPath);
    const fs::path folder = fs::path(path).parent_path();
    // Keep the permissions an existing file had; a new file gets the usual 0666 & ~umask.
    mode_t mode = 0666;
    std::optional<std::pair<uid_t, gid_t>> owner;
    if (struct stat st; ::stat(path.c_str(), &st) == 0) {
        // A folder, a FIFO or a device is never replaced by a file.
        if (S_ISDIR(st.st_mode))
            throw EInOutError("Cannot write \"" + givenPath + "\": it is a folder, not a file.");
        if (!S_ISREG(st.st_mode))
            throw EInOutError("Cannot write \"" + givenPath +
                              "\": it is not a regular file (a device, a pipe or a socket).");
        // A file that already holds the text is left alone: its time stays that of its
        // content, by which the program tells whether results beside it are of it. One whose
        // time lies ahead of the clock is written, so that results made now are not older.
        if (static_cast<size_t>(st.st_size) == text.size() && st.st_mtime <= std::time(nullptr) &&
            HoldsText(path, text))
            return;
        mode = st.st_mode & 07777;
        owner.emplace(st.st_uid, st.st_gid);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    const std::string prefix = TemporaryPrefix(path);
    RemoveLeftTemporaries(folder, prefix);
    // Hidden, and named after the file and this process, so that a save that was killed
    // leaves a file the next save recognises.
    std::string temporary =
        (folder / (prefix + std::to_string(::getpid()) + "-XXXXXX")).string();
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) Fail("Cannot create a file beside", givenPath, errno);
    // Also its owner and group, where this process may give them (root saving a user's
    // file); otherwise the file belongs to whoever saves it, as any new file does.
    if (owner && ::fchown(fd, owner->first, owner->second) != 0) {
        // Not allowed: keep the saving user's ownership.
    }
    ::fchmod(fd, mode);
    const bool written = WriteAll(fd, text) && ::fsync(fd) == 0;
    const int writeError = errno;
    if (::close(fd) != 0 || !written) {
        const int error = written ? errno : writeError;
        ::unlink(temporary.c_str());
        Fail("Cannot write", givenPath, error);
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        Fail("Cannot replace", givenPath, error);
    }
    SyncFolder(folder);
}

std::string LoadTextFile(const std::string& path) {
    // Without O_NONBLOCK opening a FIFO would wait for a writer; the type is checked next.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) Fail("Cannot open file", path, errno);
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0) Fail("Cannot read file", path, errno);
    if (S_ISDIR(st.st_mode))
        throw EInOutError("Cannot read file \"" + path + "\": it is a folder, not a file.");
    if (!S_ISREG(st.st_mode))
        throw EInOutError("Cannot read file \"" + path +
                          "\": it is not a regular file (a device, a pipe or a socket).");
    const auto tooLarge = [&] {
        return EInOutError("Cannot read file \"" + path + "\": it is larger than " +
                           std::to_string(kMaxTextFileBytes / (1024 * 1024)) +
                           " MB, which no project file is.");
    };
    if (static_cast<unsigned long long>(st.st_size) > kMaxTextFileBytes) throw tooLarge();
    // The size may change while the file is read: read to its end, up to the limit.
    std::string text(static_cast<size_t>(st.st_size), '\0');
    size_t done = 0;
    for (;;) {
        if (done == text.size()) {
            if (text.size() > kMaxTextFileBytes) throw tooLarge();
            text.resize(text.size() + 4096);
        }
        const ssize_t n = ::read(fd, text.data() + done, text.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            Fail("Cannot read file", path, errno);
        }
        if (n == 0) break;
        done += static_cast<size_t>(n);
    }
    if (done > kMaxTextFileBytes) throw tooLarge();
    text.resize(done);
    return text;
}

}  // namespace torvex

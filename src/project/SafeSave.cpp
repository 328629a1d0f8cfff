#include "project/SafeSave.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "project/WordRead.h"

namespace torvex {
namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& path, int error) {
    throw EInOutError(what + " \"" + path + "\": " + std::strerror(error) + ".");
}

bool WriteAll(int fd, const std::string& text) {
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

}  // namespace

void SaveTextFile(const std::string& path, const std::string& text) {
    std::string temporary = path + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) Fail("Cannot create a file beside", path, errno);
    // Keep the permissions an existing file had; a new file gets the usual 0666 & ~umask.
    mode_t mode = 0666;
    if (struct stat st; ::stat(path.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
    }
    ::fchmod(fd, mode);
    const bool written = WriteAll(fd, text) && ::fsync(fd) == 0;
    const int writeError = errno;
    if (::close(fd) != 0 || !written) {
        ::unlink(temporary.c_str());
        Fail("Cannot write", path, written ? errno : writeError);
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        Fail("Cannot replace", path, error);
    }
}

std::string LoadTextFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) Fail("Cannot open file", path, errno ? errno : ENOENT);
    std::ostringstream content;
    content << file.rdbuf();
    if (file.bad()) Fail("Cannot read file", path, errno ? errno : EIO);
    return content.str();
}

}  // namespace torvex

#pragma once
// Tests of what an ordinary user may not do (write into a folder without permission) must
// meet the refusal even when the tests run as root, as they do in CI: there the test's body
// runs in a child process that has become the user "nobody" and owns the test's folder.

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

namespace torvex::testing {

inline constexpr uid_t kNobody = 65534;

// Where such a test makes its folder: the temporary folder, unless one of the folders above
// it is closed to other users (a TMPDIR of root's own); then /tmp.
inline std::filesystem::path OrdinaryUserTempFolder() {
    const std::filesystem::path temp = std::filesystem::temp_directory_path();
    if (::geteuid() != 0) return temp;
    for (std::filesystem::path p = temp;; p = p.parent_path()) {
        struct stat st {};
        if (::stat(p.c_str(), &st) != 0 || (st.st_mode & S_IXOTH) == 0) return "/tmp";
        if (p == p.parent_path()) return temp;
    }
}

inline void AsOrdinaryUser(const std::string& folder, const std::function<void()>& body) {
    if (::geteuid() != 0) {
        body();
        return;
    }
    ASSERT_EQ(::chown(folder.c_str(), kNobody, kNobody), 0);
    std::fflush(nullptr);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
            ::_exit(3);
        body();
        std::fflush(nullptr);
        ::_exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "the test failed as the user nobody (wait status " << status << ")";
}

}  // namespace torvex::testing

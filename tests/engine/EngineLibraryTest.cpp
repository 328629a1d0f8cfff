// The engine library as the program loads it: one exported entry, and really gone after
// unloading, so that every run starts from a freshly loaded engine.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// The names of the symbols the library defines in its dynamic symbol table.
std::vector<std::string> ExportedSymbols(const std::string& library) {
    std::vector<std::string> names;
    FILE* pipe = popen(("nm -D --defined-only \"" + library + "\"").c_str(), "r");
    if (!pipe) return names;
    char line[512];
    while (std::fgets(line, sizeof line, pipe)) {
        std::string text(line);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
        const size_t blank = text.rfind(' ');
        names.push_back(blank == std::string::npos ? text : text.substr(blank + 1));
    }
    EXPECT_EQ(pclose(pipe), 0);
    return names;
}

TEST(EngineLibrary, ExportsTheEntryAlone) {
    EXPECT_EQ(ExportedSymbols(TORVEX_ENGINE_LIBRARY), std::vector<std::string>{"_ITORVEX"});
}

TEST(EngineLibrary, IsGoneAfterUnloading) {
    void* handle = dlopen(TORVEX_ENGINE_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << dlerror();
    EXPECT_NE(dlsym(handle, "_ITORVEX"), nullptr);
    ASSERT_EQ(dlclose(handle), 0);
    // RTLD_NOLOAD finds a library only while it is still in memory.
    void* again = dlopen(TORVEX_ENGINE_LIBRARY, RTLD_NOW | RTLD_NOLOAD);
    EXPECT_EQ(again, nullptr) << "the engine library stayed loaded after dlclose";
    if (again) dlclose(again);
}

}  // namespace

#include "app/DynamicLibrary.h"

#include <dlfcn.h>

#include <filesystem>
#include <iostream>

namespace torvex {

TDynamicLibrary::~TDynamicLibrary() { Unload(); }

void TDynamicLibrary::SetLibraryName(const std::string& path) {
    Unload();
    libraryName_ = path;
}

int TDynamicLibrary::ClassifyLoadFailure(const std::string& failure, bool libraryExists) {
    // The file is there, yet the loader could not open a file: one of the libraries it
    // depends on is missing.
    if (libraryExists && failure.find("cannot open shared object file") != std::string::npos)
        return 1;
    // A constructor of the library threw or aborted its loading.
    if (libraryExists && failure.find("initializ") != std::string::npos) return 2;
    return 0;
}

void TDynamicLibrary::Load() {
    if (handle_) return;
    loadFailure_.clear();
    handle_ = dlopen(libraryName_.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle_) return;
    const char* failure = dlerror();
    loadFailure_ = failure ? failure : "the library could not be loaded";
    // The message box says only that the library failed; the loader's reason is for whoever
    // looks at the program's error stream.
    std::cerr << "TORVEX: cannot load \"" << libraryName_ << "\": " << loadFailure_ << "\n";
    std::error_code error;
    const bool exists = !libraryName_.empty() && std::filesystem::is_regular_file(libraryName_, error);
    switch (ClassifyLoadFailure(loadFailure_, exists)) {
        case 1: throw EFileNotFoundError();
        case 2: throw EInitError();
        default: return;
    }
}

void* TDynamicLibrary::GetEntry(const std::string& name) const {
    if (!handle_) throw EDLLNotOpenError();
    return dlsym(handle_, name.c_str());
}

void TDynamicLibrary::Unload() {
    if (!handle_) return;
    dlclose(handle_);
    handle_ = nullptr;
}

}  // namespace torvex

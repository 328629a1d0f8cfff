#pragma once
// Loads a library file at run time, looks up its entries by name and unloads it again. The
// analysis engine is reached this way, once per run.

#include <stdexcept>
#include <string>

namespace torvex {

class EDLLError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
// GetEntry on a library that is not loaded.
class EDLLNotOpenError : public EDLLError {
public:
    EDLLNotOpenError() : EDLLError("Library is not open") {}
};
// The library was found but its start-up code failed.
class EInitError : public EDLLError {
public:
    EInitError() : EDLLError("Library failed to properly initialize") {}
};
// The library needs a file that the system loader cannot find.
class EFileNotFoundError : public EDLLError {
public:
    EFileNotFoundError() : EDLLError("Library could not be located") {}
};

class TDynamicLibrary {
public:
    TDynamicLibrary() = default;
    TDynamicLibrary(const TDynamicLibrary&) = delete;
    TDynamicLibrary& operator=(const TDynamicLibrary&) = delete;
    ~TDynamicLibrary();

    const std::string& LibraryName() const { return libraryName_; }
    // Unloads a loaded library first, then keeps the path.
    void SetLibraryName(const std::string& path);

    // Does nothing when loaded. A library file that is there but whose loading fails because
    // a file it depends on is missing raises EFileNotFoundError; one whose start-up code
    // fails raises EInitError. Any other failure (the file itself missing or not a library)
    // leaves the object unloaded without raising, so that GetEntry reports it.
    void Load();
    // The address of an exported entry, or nullptr when the library does not export it.
    // Raises EDLLNotOpenError when nothing is loaded.
    void* GetEntry(const std::string& name) const;
    bool IsLoaded() const { return handle_ != nullptr; }
    void Unload();

    // How the last load failed, as the system loader put it ("" after a success).
    const std::string& LoadFailure() const { return loadFailure_; }

    // Sorts a loader's failure text: 1 "a needed file is missing", 2 "start-up failed",
    // 0 anything else. `libraryExists` tells whether the library file itself is there.
    static int ClassifyLoadFailure(const std::string& failure, bool libraryExists);

private:
    std::string libraryName_;
    void* handle_ = nullptr;
    std::string loadFailure_;
};

}  // namespace torvex

#include "app/RecentFiles.h"

#include <algorithm>

namespace torvex {

bool TRecentFiles::Put(const std::string& name) {
    if (slots_[0] == name) return false;
    auto found = std::find(slots_.begin() + 1, slots_.end(), name);
    if (found == slots_.end()) found = slots_.end() - 1;  // the oldest drops out
    std::move_backward(slots_.begin(), found, found + 1);
    slots_[0] = name;
    Recount();
    return true;
}

void TRecentFiles::Assign(const std::array<std::string, kSlots>& stored) {
    Clear();
    size_t next = 0;
    for (const std::string& name : stored)
        if (!name.empty()) slots_[next++] = name;
    Recount();
}

void TRecentFiles::Clear() {
    slots_.fill(std::string());
    count_ = 0;
}

void TRecentFiles::Recount() {
    count_ = static_cast<int>(
        std::count_if(slots_.begin(), slots_.end(), [](const std::string& s) { return !s.empty(); }));
}

std::string TRecentFiles::MenuCaption(int index, const std::string& path,
                                      const std::string& currentDirectory, char separator) {
    std::string shown = path;
    if (!currentDirectory.empty()) {
        std::string prefix = currentDirectory;
        if (prefix.back() != separator) prefix += separator;
        if (path.size() > prefix.size() && path.compare(0, prefix.size(), prefix) == 0)
            shown = path.substr(prefix.size());
    }
    return std::to_string(index + 1) + " " + shown;
}

}  // namespace torvex

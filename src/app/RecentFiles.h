#pragma once
// The list of recently used data files: ten slots, the most recent first. Names are
// compared exactly, case included.

#include <array>
#include <string>

namespace torvex {

class TRecentFiles {
public:
    static constexpr int kSlots = 10;

    // Puts `name` at the head. Returns false, changing nothing, when it is already first (so
    // the caller need not store the list again); a name further down moves up, any other
    // name pushes every entry one down and the tenth drops out.
    bool Put(const std::string& name);

    // Fills the slots from stored values in order; empty values are skipped so that the
    // filled slots stay together at the head.
    void Assign(const std::array<std::string, kSlots>& stored);
    void Clear();

    int Count() const { return count_; }
    const std::string& Slot(int index) const { return slots_.at(static_cast<size_t>(index)); }
    const std::array<std::string, kSlots>& Slots() const { return slots_; }

    // The caption of the menu item of slot `index` (0-based): its number, one blank and the
    // path, shown from after "currentDirectory/" when the path starts with that folder.
    static std::string MenuCaption(int index, const std::string& path,
                                   const std::string& currentDirectory, char separator = '/');

private:
    void Recount();

    std::array<std::string, kSlots> slots_{};
    int count_ = 0;
};

}  // namespace torvex

#pragma once
// The settings that outlive a program run: the text editor and the recently used data files,
// kept with QSettings (organisation "Norcel", application "TORVEX", group "2012.4.2").

#include <QString>
#include <array>
#include <string>

namespace torvex {

inline constexpr const char* kDefaultWordProcessor = "xdg-open";

struct TStoredSettings {
    QString WordProcessor;                  // empty when not stored
    std::array<std::string, 10> Files{};    // "File1".."File10"; empty when not stored
};

// Reads the stored values; what is absent reads as empty.
TStoredSettings ReadStoredSettings();
// Writes "Word Processor" and all ten "File" values (empty slots as empty strings).
void WriteStoredSettings(const QString& wordProcessor, const std::array<std::string, 10>& files);

}  // namespace torvex

#pragma once
// Which program opens a file outside TORVEX, as a program and its argument list. A file name
// is always exactly one argument: no command line is ever built from it and split again, so no
// name can break the command or run another.

#include <QString>
#include <QStringList>
#include <optional>

namespace torvex {

struct TProgramCall {
    QString Program;
    QStringList Arguments;
    bool operator==(const TProgramCall&) const = default;
};

// The text editor setting, read once into a program and its own arguments. An unquoted
// program path may hold blanks ("/opt/my tools/ed -n"): the longest run of leading words that
// names a file is the program. Blanks, and "xdg-open" (the start-up default, which would open
// a data file in TORVEX itself), mean the desktop's text editor: no value.
std::optional<TProgramCall> EditorFromSetting(const QString& setting);

// The call of a desktop entry's Exec line for one file: %f, %F, %u and %U become the file (one
// argument), %i, %c and %k are dropped, "%%" is "%"; the file is appended when the line names
// none. An entry with Terminal=true runs in x-terminal-emulator. No value when the entry cannot
// be read or has no Exec line.
std::optional<TProgramCall> DesktopEntryCall(const QString& desktopFile, const QString& file);

// The desktop's text editor for a file: the handler of text/plain (never TORVEX's own entry),
// else the first of the usual editors installed. No value when there is none.
std::optional<TProgramCall> DesktopTextEditorCall(const QString& file);

// The desktop entry the desktop names as handler of a MIME type, as a path; empty when none.
QString DesktopHandlerOf(const QString& mimeType);

inline constexpr const char* kEditorStartFailed = "An error occurred in running the Word Processor";
// No editor set and none found on the desktop.
QString NoTextEditorMessage(const QString& file);
// A help document whose type no installed program shows.
QString NoViewerMessage(const QString& file);

}  // namespace torvex

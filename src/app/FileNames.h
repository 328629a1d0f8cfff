#pragma once
// How the main window names files: the short name in the caption and in messages, the
// caption itself, and the result files that sit beside a data file.

#include <QString>
#include <QStringList>
#include <string>

namespace torvex {

// The version shown in the caption and used as the settings group.
inline constexpr const char* kProgramVersion = "2012.4.2";
// Extension that the open and save dialogs add by default (older data files).
inline constexpr const char* kDefaultDataExtension = "txd";

// The filters of the open and save dialogs, in order: the current format, the two older ones,
// all files.
const QStringList& DataFileFilters();

// The file-name part of `path`. For an older ".txd" file (any case) everything from the first
// "." of the name on is dropped ("my.wall.txd" -> "my"). A result longer than one character
// gets an upper-case first letter ("wall.tx4d" -> "Wall.tx4d").
QString DisplayFileName(const QString& path);

// "TORVEX 2012.4.2 - " followed by DisplayFileName of the project's file.
QString MainCaption(const QString& projectFileName);

// The file named like `dataFileName` with another extension (".tx4o", ".tx4r", ".tx4p"): the
// extension of the last path component is replaced, or appended when there is none.
QString FileNamedLike(const QString& dataFileName, const QString& extension);

// The same for a file name kept as the bytes the system uses (the project's FileName), which
// need not be UTF-8: a name in the system's 8-bit encoding must still find its files.
std::string SiblingFileName(const std::string& dataFileName, const char* extension);
// Whether a file of that byte name exists.
bool FileExists(const std::string& fileName);
// Whether the result files beside a data file are of its present content: the output report,
// which a run puts in place after all its other files, exists and is no older than the data
// file. Otherwise the result files are of other input, or of a run killed while it replaced
// them, and are taken for none at all.
bool ResultSetCurrent(const std::string& dataFileName);

// A name given on the command line: ".tx4d" is appended when its file-name part has no ".".
QString CommandLineDataFile(const QString& argument);

// The reader's format kind for a file not chosen in the open dialog: 2 for ".txd", else 1.
int FormatKindOf(const QString& path);

}  // namespace torvex

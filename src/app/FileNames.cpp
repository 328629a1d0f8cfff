#include "app/FileNames.h"

#include <QFileInfo>
#include <filesystem>

namespace torvex {

const QStringList& DataFileFilters() {
    static const QStringList filters = {"Torvex 2012 (*.tx4d)", "Torvex 3.0 (*.txd)",
                                        "Torvex 2.0 (*.txd)", "All Files (*.*)"};
    return filters;
}
namespace {

// The last path component; "\" separates components too, so names written on another
// system still show their short form.
QString NamePart(const QString& path) {
    const qsizetype separator = std::max(path.lastIndexOf('/'), path.lastIndexOf('\\'));
    return separator < 0 ? path : path.mid(separator + 1);
}

}  // namespace

QString DisplayFileName(const QString& path) {
    QString name = NamePart(path);
    const qsizetype lastDot = name.lastIndexOf('.');
    const QString extension = lastDot < 0 ? QString() : name.mid(lastDot);
    if (extension.compare(QString(".") + kDefaultDataExtension, Qt::CaseInsensitive) == 0)
        name.truncate(name.indexOf('.'));
    if (name.size() > 1) name[0] = name[0].toUpper();
    return name;
}

QString MainCaption(const QString& projectFileName) {
    return QString("TORVEX %1 - ").arg(kProgramVersion) + DisplayFileName(projectFileName);
}

QString FileNamedLike(const QString& dataFileName, const QString& extension) {
    const QString name = NamePart(dataFileName);
    const qsizetype dot = name.lastIndexOf('.');
    if (dot < 0) return dataFileName + extension;
    return dataFileName.left(dataFileName.size() - (name.size() - dot)) + extension;
}

std::string SiblingFileName(const std::string& dataFileName, const char* extension) {
    const size_t separator = dataFileName.find_last_of("/\\");
    const size_t nameStart = separator == std::string::npos ? 0 : separator + 1;
    const size_t dot = dataFileName.rfind('.');
    if (dot == std::string::npos || dot < nameStart) return dataFileName + extension;
    return dataFileName.substr(0, dot) + extension;
}

bool FileExists(const std::string& fileName) {
    std::error_code error;
    return std::filesystem::exists(fileName, error);
}

bool ResultSetCurrent(const std::string& dataFileName) {
    std::error_code error;
    const auto data = std::filesystem::last_write_time(dataFileName, error);
    if (error) return false;
    const auto report = std::filesystem::last_write_time(SiblingFileName(dataFileName, ".tx4o"), error);
    return !error && report >= data;
}

QString CommandLineDataFile(const QString& argument) {
    // Only the name decides: "./walls/wall" still needs its extension.
    return NamePart(argument).contains('.') ? argument : argument + ".tx4d";
}

int FormatKindOf(const QString& path) {
    return QFileInfo(path).suffix().compare(kDefaultDataExtension, Qt::CaseInsensitive) == 0
               ? 2
               : 1;
}

}  // namespace torvex

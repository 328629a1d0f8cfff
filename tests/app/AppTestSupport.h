#pragma once
// What the main-window tests share: a message and file-dialog interface that answers with
// preset answers and records what was shown, and settings kept in a temporary folder so that
// no test touches the user's own.

#include <sys/resource.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <csignal>
#include <functional>

#include "desktop/UserInterface.h"

namespace torvex::testing {

class TRecordingInterface : public TUserInterface {
public:
    void Information(QWidget*, const QString& text) override {
        shown << text;
        if (onInformation) onInformation(text);
    }
    TAnswer Confirm(QWidget*, const QString& text, bool) override {
        asked << text;
        return answer;
    }
    QString OpenFileName(QWidget*, const QString&, const QStringList&, int* filter) override {
        if (filter) *filter = openFilter;
        return openPath;
    }
    QString ProgramFileName(QWidget*, const QString&, const QString& preset) override {
        programPresets << preset;
        return openPath;
    }
    QString SaveFileName(QWidget*, const QString& title, const QString& suggested,
                         const QStringList& filters, const QString& extension, int* filter) override {
        saveTitles << title;
        savePresets << suggested;
        saveFilters = filters;
        saveExtension = extension;
        if (filter) *filter = saveFilter;
        return savePath;
    }
    void Clear() {
        shown.clear();
        asked.clear();
        saveTitles.clear();
        savePresets.clear();
        savePath.clear();
        saveFilter = 1;
        onInformation = nullptr;
    }

    QStringList shown, asked, saveTitles, savePresets, saveFilters, programPresets;
    QString saveExtension;
    QString savePath;  // the Save As answer; empty cancels
    QString openPath;  // the Open answer; empty cancels
    int saveFilter = 1;  // the file type chosen in Save As, 1-based
    int openFilter = 1;
    TAnswer answer = TAnswer::Cancel;
    std::function<void(const QString&)> onInformation;
};

// A full disk while it lives: no file of this process may grow beyond `bytes`, and a write
// past that fails with EFBIG, as on a full disk (the signal that would end the program is
// ignored, as the program's own is). The old limit comes back on destruction.
class TFullDisk {
public:
    explicit TFullDisk(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &before_);
        struct rlimit full = before_;
        full.rlim_cur = bytes;
        std::signal(SIGXFSZ, SIG_IGN);
        set_ = ::setrlimit(RLIMIT_FSIZE, &full) == 0;
    }
    ~TFullDisk() { ::setrlimit(RLIMIT_FSIZE, &before_); }
    TFullDisk(const TFullDisk&) = delete;
    TFullDisk& operator=(const TFullDisk&) = delete;
    bool IsSet() const { return set_; }

private:
    struct rlimit before_ {};
    bool set_ = false;
};

// A file's bytes; none for a file that cannot be read.
inline QByteArray FileContent(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every entry of a folder, hidden ones included, by name.
inline QStringList FolderEntries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

// Points the program's settings at `folder` and turns on Qt's test paths.
inline void UseTemporarySettings(const QString& folder) {
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder);
}

// What every window test starts with: settings in `folder` and `ui` answering the program's
// dialogs (until SetUserInterface(nullptr)).
inline void UseTestEnvironment(const QString& folder, TUserInterface& ui) {
    UseTemporarySettings(folder);
    SetUserInterface(&ui);
}

}  // namespace torvex::testing

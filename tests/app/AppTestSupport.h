#pragma once
// What the main-window tests share: a message and file-dialog interface that answers with
// preset answers and records what was shown, and settings kept in a temporary folder so that
// no test touches the user's own.

#include <sys/resource.h>

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <csignal>
#include <functional>

#include "app/UserInterface.h"

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
    QString SaveFileName(QWidget*, const QString& title, const QString& suggested,
                         const QStringList& filters, const QString& extension) override {
        saveTitles << title;
        savePresets << suggested;
        saveFilters = filters;
        saveExtension = extension;
        return savePath;
    }
    void Clear() {
        shown.clear();
        asked.clear();
        saveTitles.clear();
        savePresets.clear();
        savePath.clear();
        onInformation = nullptr;
    }

    QStringList shown, asked, saveTitles, savePresets, saveFilters;
    QString saveExtension;
    QString savePath;  // the Save As answer; empty cancels
    QString openPath;  // the Open answer; empty cancels
    int openFilter = 1;
    TAnswer answer = TAnswer::Cancel;
    std::function<void(const QString&)> onInformation;
};

// A disk that is full beyond `bytes`: while the object lives no file this process writes can
// grow past that size. The write fails with EFBIG as it would on a full disk; the signal that
// would end the process is ignored, as the program itself ignores it.
class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        struct rlimit full = saved_;
        full.rlim_cur = bytes;
        std::signal(SIGXFSZ, SIG_IGN);
        ::setrlimit(RLIMIT_FSIZE, &full);
    }
    ~TFileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &saved_); }
    TFileSizeLimit(const TFileSizeLimit&) = delete;
    TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;

private:
    struct rlimit saved_ {};
};

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

#pragma once
// Every message box, confirmation and file dialog of the program goes through this one
// interface, so that tests can answer them and read what was shown. The program installs
// TQtUserInterface (real dialogs); a test installs its own.

#include <QString>
#include <QStringList>

class QPrinter;
class QWidget;

namespace torvex {

// The program's title: the caption of its message boxes and of its main window.
inline constexpr const char* kApplicationTitle = "TORVEX 2012";

enum class TAnswer { Yes, No, Cancel, Ok };

// What File, Export Report asks before the file name: the paper and whether the node
// results go into an appendix.
struct TReportChoices {
    bool letter = false;  // US Letter; A4 otherwise
    bool nodeAppendix = false;
    // The job's title block, offered for a last correction: number, title, engineer,
    // checker and revision.
    QString jobNumber, jobTitle, engineer, checker, revision;
};

class TUserInterface {
public:
    virtual ~TUserInterface() = default;
    // An information box with an OK button.
    virtual void Information(QWidget* parent, const QString& text) = 0;
    // A confirmation box; `withCancel` adds a Cancel button to Yes and No.
    virtual TAnswer Confirm(QWidget* parent, const QString& text, bool withCancel) = 0;
    // File dialogs: the chosen path, or an empty string when cancelled. `filters` in the
    // order the program lists them; `selectedFilter` receives the 1-based index chosen.
    virtual QString OpenFileName(QWidget* parent, const QString& title, const QStringList& filters,
                                 int* selectedFilter) = 0;
    // A name typed without extension gets `defaultExtension`; when the caller asks for the
    // chosen filter (`selectedFilter` not null) it gets the extension of that filter instead,
    // where the filter names one ("PNG image (*.png)" -> "png").
    virtual QString SaveFileName(QWidget* parent, const QString& title, const QString& suggested,
                                 const QStringList& filters, const QString& defaultExtension,
                                 int* selectedFilter = nullptr) = 0;
    // Browse for a program: the file dialog preset on `preset` (a path, or a program found on
    // the path). Its first file type, "Programs", lists the files that can be run (a program
    // has no extension here), the second all files. The chosen path, or empty when cancelled.
    virtual QString ProgramFileName(QWidget* parent, const QString& title, const QString& preset);
    // The print dialog for `printer` (a printer or a PDF file); true when the user prints.
    virtual bool Print(QWidget* parent, QPrinter& printer);
    // The page setup dialog for `printer`; true when the user accepts the page it shows.
    virtual bool PageSetup(QWidget* parent, QPrinter& printer);
    // The report dialog, preset with `choices`; true when the user goes on with them.
    virtual bool ReportChoices(QWidget* parent, TReportChoices& choices);
};

// The extension that a file filter names by its first pattern: "png" for "PNG image (*.png)",
// "jpg" for "JPEG image (*.jpg *.jpeg)"; empty for none or a wildcard ("All Files (*.*)").
QString FilterExtension(const QString& filter);

// The interface in use; the program's Qt dialogs unless a test installed another.
TUserInterface& UserInterface();
// Installs another interface (nullptr restores the Qt dialogs); the caller keeps ownership.
void SetUserInterface(TUserInterface* userInterface);

}  // namespace torvex

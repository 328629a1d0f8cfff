// Save and Save As, Run Analysis with the engine library, the text viewers and help, and the
// table editors inside the main window; last, every bundled example run end to end.

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QLibraryInfo>
#include <QMdiSubWindow>
#include <QMenu>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolBar>
#include <QUrl>
#include <QtTest>
#include <functional>

#include "app/DynamicLibrary.h"
#include "app/MainWindow.h"
#include "AppTestSupport.h"
#include "dataentry/TableForm.h"
#include "desktop/UserInterface.h"
#include "plot/ResultGraphs.h"
#include "project/DataFileWriter.h"

using torvex::TMainForm;

namespace {

const QString kCompleted =
    "Computations are completed. Please, check output file for results or error messages.";
const QString kInitFailed = "Attempt to initialize DLL failed";

using torvex::testing::TRecordingInterface;

void WriteText(const QString& path, const QString& text) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text.toUtf8());
}

// An editor that writes each argument it gets, followed by a line "--", to its own path + ".args".
QString WriteRecordingEditor(const QString& path) {
    WriteText(path, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n--\\n' \"$a\"; done > \"$0.args\"\n");
    QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner | QFileDevice::ExeGroup |
                                    QFileDevice::ExeOther);
    return path;
}

}  // namespace

class DocumentCommandsTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir settingsDir_;
    TRecordingInterface ui_;
    QString startDir_;

private slots:
    void initTestCase() {
        QVERIFY(settingsDir_.isValid());
        torvex::testing::UseTestEnvironment(settingsDir_.path(), ui_);
        startDir_ = QDir::currentPath();
    }
    void cleanupTestCase() { torvex::SetUserInterface(nullptr); }
    void init() {
        QSettings settings("Norcel", "TORVEX");
        settings.clear();
        settings.sync();
        ui_.Clear();
        ui_.answer = torvex::TAnswer::Cancel;
    }
    void cleanup() { QDir::setCurrent(startDir_); }

    // ---- Save and Save As ----

    void saveOnANewProjectAsksForANameAndCancelChangesNothing() {
        QTemporaryDir run;
        TMainForm form;
        form.SetProgramFolder(run.path());
        form.SetModified(true);
        form.FileSaveClick();
        QCOMPARE(ui_.saveTitles, QStringList({"Save NewWall.tx4d As"}));
        QCOMPARE(ui_.savePresets, QStringList({"NewWall.tx4d"}));
        QCOMPARE(ui_.saveFilters, QStringList({"Torvex 2012 (*.tx4d)", "Torvex 3.0 (*.txd)",
                                               "Torvex 2.0 (*.txd)", "All Files (*.*)"}));
        QCOMPARE(ui_.saveExtension, QString("txd"));
        QCOMPARE(form.Workspace().Project().FileName, std::string("NewWall.tx4d"));
        QVERIFY(form.IsModified());
        QVERIFY(ui_.shown.isEmpty());

        // The save-changes prompt: Yes leads to the same cancelled Save As, so it stops.
        ui_.answer = torvex::TAnswer::Yes;
        QVERIFY(!form.QuerySaveChanges());
        QCOMPARE(ui_.saveTitles.size(), 2);

        // Run Analysis on it ends silently and writes no names file.
        ui_.Clear();
        form.CompRunClick();
        QCOMPARE(ui_.saveTitles, QStringList({"Save NewWall.tx4d As"}));
        QVERIFY(ui_.shown.isEmpty());
        QVERIFY(!QFile::exists(QDir(form.RunFolder()).filePath("names.dat")));
        QCOMPARE(QDir::currentPath(), startDir_);
    }

    void saveAsWritesTheFileAndSaveThenWritesInPlace() {
        QTemporaryDir jobs;
        TMainForm form;
        form.Workspace().Project().Title = "Quay wall";
        form.SetModified(true);
        // An open table editor closes when the project gets its new name.
        form.ShowTableEditor("PileSect");
        QCOMPARE(form.Desk()->subWindowList().size(), 1);

        ui_.savePath = jobs.filePath("quay.tx4d");
        form.Action("FileSaveAs")->trigger();
        QCOMPARE(ui_.saveTitles, QStringList({"Save NewWall.tx4d As"}));
        QCOMPARE(form.Workspace().Project().FileName, jobs.filePath("quay.tx4d").toStdString());
        QCOMPARE(form.windowTitle(), QString("TORVEX 2012.4.2 - Quay.tx4d"));
        QCOMPARE(form.PrevFiles().Slot(0), jobs.filePath("quay.tx4d").toStdString());
        QSettings settings("Norcel", "TORVEX");
        QCOMPARE(settings.value("2012.4.2/File1").toString(), jobs.filePath("quay.tx4d"));
        QVERIFY(!form.IsModified());
        QVERIFY(form.Desk()->subWindowList().isEmpty());
        const QByteArray first = torvex::testing::FileContent(jobs.filePath("quay.tx4d"));
        QVERIFY(first.startsWith("Quay wall\r\n"));
        QCOMPARE(first, QByteArray::fromStdString(torvex::WriteDataFileText(form.Workspace())));

        // Save writes the same file again without a dialog, also from the tool bar.
        ui_.Clear();
        form.Workspace().Project().Title = "Quay wall, north";
        form.SetModified(true);
        form.Action("SpeedButton3")->trigger();
        QVERIFY(ui_.saveTitles.isEmpty());
        QVERIFY(torvex::testing::FileContent(jobs.filePath("quay.tx4d")).startsWith("Quay wall, north\r\n"));
        QVERIFY(!form.IsModified());

        // Save As offers the current name with its title; cancelling changes nothing.
        ui_.Clear();
        form.Workspace().Project().Title = "not saved";
        form.FileSaveAsClick();
        QCOMPARE(ui_.saveTitles, QStringList({"Save Quay.tx4d As"}));
        QCOMPARE(ui_.savePresets, QStringList({jobs.filePath("quay.tx4d")}));
        QCOMPARE(form.Workspace().Project().FileName, jobs.filePath("quay.tx4d").toStdString());
        QVERIFY(torvex::testing::FileContent(jobs.filePath("quay.tx4d")).startsWith("Quay wall, north\r\n"));

        // A name with another extension is offered with ".tx4d".
        ui_.Clear();
        form.Workspace().Project().FileName = jobs.filePath("quay.dat").toStdString();
        form.FileSaveAsClick();
        QCOMPARE(ui_.savePresets, QStringList({jobs.filePath("quay.tx4d")}));
    }

    void olderFormatFilesAreNeverOverwrittenBySave() {
        QTemporaryDir jobs;
        const QString old = jobs.filePath("old.wall.TXD");
        QFile file(old);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("older text");
        file.close();
        TMainForm form;
        form.Workspace().Project().FileName = old.toStdString();
        form.FileSaveClick();
        QCOMPARE(ui_.saveTitles, QStringList({"Save Old As"}));
        QCOMPARE(ui_.savePresets, QStringList({old}));
        QCOMPARE(torvex::testing::FileContent(old), QByteArray("older text"));

        // Run Analysis goes on with the unchanged file on disk as the data file.
        QTemporaryDir run;
        form.SetProgramFolder(run.path());
        form.SetEngineLibraryPath(run.filePath("absent.DLL"));
        QByteArray names;
        ui_.onInformation = [&](const QString&) { names = torvex::testing::FileContent(QDir(form.RunFolder()).filePath("names.dat")); };
        form.CompRunClick();
        QCOMPARE(ui_.shown, QStringList({kInitFailed}));
        const QString base = jobs.filePath("old.wall.");
        QCOMPARE(names, (old + "\r\n" + base + "tx4o\r\n" + base + "tx4p\r\n" + base + "tx4r\r\n").toUtf8());
        QCOMPARE(torvex::testing::FileContent(old), QByteArray("older text"));

        // Confirming the offered name (or any ".txd" name) writes the current format beside it
        // as ".tx4d", so the older file stays and the new one reads back as it was written.
        ui_.Clear();
        form.Workspace().Project().Title = "Converted wall";
        ui_.savePath = old;
        form.FileSaveAsClick();
        QCOMPARE(torvex::testing::FileContent(old), QByteArray("older text"));
        const QString converted = base + "tx4d";
        QCOMPARE(form.Workspace().Project().FileName, converted.toStdString());
        QCOMPARE(form.windowTitle(), QString("TORVEX 2012.4.2 - Old.wall.tx4d"));
        QCOMPARE(form.PrevFiles().Slot(0), converted.toStdString());
        TMainForm reopened;
        QVERIFY(reopened.OpenFileName(converted));
        QCOMPARE(reopened.Workspace().Project().Title, std::string("Converted wall"));
        ui_.Clear();
        ui_.savePath = jobs.filePath("typed.txd");
        form.FileSaveAsClick();
        QVERIFY(!QFile::exists(jobs.filePath("typed.txd")));
        QVERIFY(QFile::exists(jobs.filePath("typed.tx4d")));
    }

    // ---- Run Analysis ----

    void namesFileHoldsFourLines() {
        QCOMPARE(TMainForm::NamesFileText("/jobs/w1.tx4d"),
                 QByteArray("/jobs/w1.tx4d\r\n/jobs/w1.tx4o\r\n/jobs/w1.tx4p\r\n/jobs/w1.tx4r\r\n"));
        // Blanks stay as they are, without quotes.
        QCOMPARE(TMainForm::NamesFileText("/my jobs/a b.tx4d"),
                 QByteArray("/my jobs/a b.tx4d\r\n/my jobs/a b.tx4o\r\n/my jobs/a b.tx4p\r\n"
                            "/my jobs/a b.tx4r\r\n"));
    }

    void missingLibraryGivesOneMessageAndNoRun() {
        QTemporaryDir jobs, run;
        TMainForm form;
        ui_.savePath = jobs.filePath("wall.tx4d");
        form.FileSaveAsClick();
        form.SetProgramFolder(run.path());
        QCOMPARE(form.EngineLibraryPath(), run.filePath("Torvex2012_DLL.DLL"));
        QByteArray names;
        QString current;
        ui_.Clear();
        ui_.onInformation = [&](const QString&) {
            names = torvex::testing::FileContent(QDir(form.RunFolder()).filePath("names.dat"));
            current = QDir::currentPath();
        };
        form.Action("SpeedButton4")->trigger();
        QCOMPARE(ui_.shown, QStringList({kInitFailed}));
        QVERIFY(ui_.saveTitles.isEmpty());
        QCOMPARE(names, TMainForm::NamesFileText(jobs.filePath("wall.tx4d").toStdString()));
        QCOMPARE(current, QDir(form.RunFolder()).canonicalPath());
        // The run folder stays current; the names file is gone; the engine wrote nothing.
        QCOMPARE(QDir::currentPath(), QDir(form.RunFolder()).canonicalPath());
        QVERIFY(!QFile::exists(QDir(form.RunFolder()).filePath("names.dat")));
        QVERIFY(!QFile::exists(jobs.filePath("wall.tx4o")));
        QVERIFY(!form.PlotLoaded());

        // A file that is no library at all ends the same way.
        QFile bogus(run.filePath("Torvex2012_DLL.DLL"));
        QVERIFY(bogus.open(QIODevice::WriteOnly));
        bogus.write("not a library");
        bogus.close();
        ui_.Clear();
        form.CompRunClick();
        QCOMPARE(ui_.shown, QStringList({kInitFailed}));
    }

    void libraryWithoutTheEntryIsNotCalled() {
        // The program's own Qt library is a library that does not export the entry.
        const QString qtCore = QFileInfo(QLibraryInfo::path(QLibraryInfo::LibrariesPath) +
                                         "/libQt6Core.so.6").absoluteFilePath();
        if (!QFile::exists(qtCore)) QSKIP("the Qt core library is not where Qt says");
        QTemporaryDir jobs, run;
        TMainForm form;
        ui_.savePath = jobs.filePath("wall.tx4d");
        form.FileSaveAsClick();
        form.SetProgramFolder(run.path());
        form.SetEngineLibraryPath(qtCore);
        ui_.Clear();
        form.CompRunClick();
        QCOMPARE(ui_.shown, QStringList({kInitFailed}));
        QVERIFY(!QFile::exists(QDir(form.RunFolder()).filePath("names.dat")));
    }

    void engineErrorsEndWithTheCompletionMessageAndNoGraphs() {
        // The default project holds no wall: the engine reports that in the output file only.
        QTemporaryDir jobs, run;
        TMainForm form;
        ui_.savePath = jobs.filePath("empty.tx4d");
        form.FileSaveAsClick();
        form.SetProgramFolder(run.path());
        form.SetEngineLibraryPath(TORVEX_ENGINE_LIBRARY);
        form.SetPlotLoaded(true);
        ui_.Clear();
        form.CompRunClick();
        QCOMPARE(ui_.shown, QStringList({kCompleted}));
        QVERIFY(QFile::exists(jobs.filePath("empty.tx4o")));
        QVERIFY(!QFile::exists(jobs.filePath("empty.tx4p")));
        QVERIFY(form.PlotLoaded());
        QVERIFY(!form.Action("SpeedButton8")->isEnabled());
        QVERIFY(form.Action("SpeedButton5")->isEnabled());

        // A disk with room for the data file but not for the report: the run says that it
        // wrote nothing, instead of sending the user to an output file that is not there.
        QVERIFY(QFile::copy(TORVEX_SOURCE_DIR "/examples/cantilever-sand.tx4d", jobs.filePath("sand.tx4d")));
        QVERIFY(form.OpenFileName(jobs.filePath("sand.tx4d")));
        ui_.Clear();
        {
            // Room for the data file (238 bytes), not for any report, not even the engine's
            // short one that names the failure (about 290 bytes).
            const torvex::testing::TFullDisk full(250);
            QVERIFY(full.IsSet());
            form.Action("CompRun")->trigger();
        }
        QCOMPARE(ui_.shown, QStringList({kCompleted, "The analysis could not write its results: there is no output file \"" +
                                                         jobs.filePath("sand.tx4o") +
                                                         "\". Check that the folder has room and may be written to."}));
        QVERIFY(!QFile::exists(jobs.filePath("sand.tx4o")) && !QFile::exists(jobs.filePath("sand.tx4p")));
    }

    void dynamicLibraryLoadsLooksUpAndUnloads() {
        torvex::TDynamicLibrary library;
        QVERIFY(!library.IsLoaded());
        try {
            library.GetEntry("_ITORVEX");
            QFAIL("no error from GetEntry on an unloaded library");
        } catch (const torvex::EDLLNotOpenError& error) {
            QCOMPARE(QString(error.what()), QString("Library is not open"));
        }
        // A missing file leaves it unloaded without an error.
        library.SetLibraryName("/nowhere/Torvex2012_DLL.DLL");
        library.Load();
        QVERIFY(!library.IsLoaded());
        QVERIFY(!library.LoadFailure().empty());

        library.SetLibraryName(TORVEX_ENGINE_LIBRARY);
        library.Load();
        QVERIFY(library.IsLoaded());
        QVERIFY(library.LoadFailure().empty());
        QVERIFY(library.GetEntry("_ITORVEX") != nullptr);
        QVERIFY(library.GetEntry("NoSuchEntry") == nullptr);
        library.Load();  // loaded already: nothing happens
        QVERIFY(library.IsLoaded());
        // A new name unloads first.
        library.SetLibraryName("/nowhere/other.DLL");
        QVERIFY(!library.IsLoaded());
        QCOMPARE(library.LibraryName(), std::string("/nowhere/other.DLL"));
        library.SetLibraryName(TORVEX_ENGINE_LIBRARY);
        library.Load();
        library.Unload();
        QVERIFY(!library.IsLoaded());
        QVERIFY_THROWS_EXCEPTION(torvex::EDLLNotOpenError, library.GetEntry("_ITORVEX"));

        // The other errors and their texts, all of the library error family.
        QCOMPARE(QString(torvex::EInitError().what()), QString("Library failed to properly initialize"));
        QCOMPARE(QString(torvex::EFileNotFoundError().what()), QString("Library could not be located"));
        const torvex::EDLLError& base = torvex::EFileNotFoundError();
        QCOMPARE(QString(base.what()), QString("Library could not be located"));
        using torvex::TDynamicLibrary;
        const std::string missingDependency =
            "/opt/t/Torvex2012_DLL.DLL: libfoo.so.1: cannot open shared object file: No such file";
        QCOMPARE(TDynamicLibrary::ClassifyLoadFailure(missingDependency, true), 1);
        QCOMPARE(TDynamicLibrary::ClassifyLoadFailure(missingDependency, false), 0);
        QCOMPARE(TDynamicLibrary::ClassifyLoadFailure("x: invalid ELF header", true), 0);
    }

    void runsHappenInTheUsersRuntimeFolderNeverBesideTheProgram() {
        QTemporaryDir program, runtime;
        QFile::setPermissions(runtime.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                  QFileDevice::ExeOwner);
        const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
        TMainForm form;
        form.SetProgramFolder(program.path());
        // A folder of this program's own, beside what an ended one left: that goes.
        QVERIFY(QDir(runtime.path()).mkpath("torvex/999999999"));
        QCOMPARE(form.RunFolder(), runtime.filePath("torvex/" + QString::number(QCoreApplication::applicationPid())));
        QVERIFY(!QFileInfo::exists(runtime.filePath("torvex/999999999")));
        QCOMPARE(int(QFile::permissions(form.RunFolder()) & 0x7077), 0x7000);  // the owner's alone
        // A run through the engine leaves nothing in either folder.
        QTemporaryDir jobs;
        QVERIFY(QFile::copy(TORVEX_SOURCE_DIR "/examples/cantilever-sand.tx4d", jobs.filePath("sand.tx4d")));
        QVERIFY(form.OpenFileName(jobs.filePath("sand.tx4d")));
        form.SetEngineLibraryPath(TORVEX_ENGINE_LIBRARY);
        ui_.Clear();
        form.Action("CompRun")->trigger();
        QCOMPARE(ui_.shown, QStringList({kCompleted}));
        QVERIFY(QDir(program.path()).isEmpty());
        QVERIFY(QDir(form.RunFolder()).isEmpty());
        QCOMPARE(QDir::currentPath(), QDir(form.RunFolder()).canonicalPath());
        QDir::setCurrent(startDir_);
        if (saved.isEmpty()) qunsetenv("XDG_RUNTIME_DIR");
        else qputenv("XDG_RUNTIME_DIR", saved);
        // The help files stay in the program's folder.
        QList<QUrl> opened;
        form.SetUrlOpener([&](const QUrl& url) {
            opened << url;
            return true;
        });
        form.HelpContentsClick();
        QCOMPARE(opened, QList<QUrl>({QUrl::fromLocalFile(program.filePath("TORVEX_2012.html"))}));
    }

    void newOnAnUnchangedProjectAsksNothing() {
        TMainForm form;
        form.Workspace().Project().Title = "Kept until New";
        ui_.Clear();
        form.Action("FileNew")->trigger();
        QVERIFY(ui_.shown.isEmpty());
        QCOMPARE(QString::fromStdString(form.Workspace().Project().Title), QString("New Wall"));
    }

    void turningConcentratedLoadsOffClosesTheirTableWindow() {
        TMainForm form;
        form.show();
        form.Action("OptionsConcentrate")->trigger();  // on
        torvex::TGridTable& loads = form.Workspace().Table("BoundCond");
        loads.ShowEditor();
        QVERIFY(loads.EditorOpen());
        form.Action("OptionsConcentrate")->trigger();  // off
        QVERIFY(!loads.EditorOpen());
    }

    // Start-up and opening an example, measured (not asserted: speed is not a test).
    void startUpAndOpeningAnExampleAreMeasured() {
        QTemporaryDir jobs;
        QVERIFY(QFile::copy(TORVEX_SOURCE_DIR "/examples/surcharges-water.tx4d",
                            jobs.filePath("wall.tx4d")));
        QElapsedTimer timer;
        timer.start();
        TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const qint64 started = timer.nsecsElapsed();
        timer.restart();
        QVERIFY(form.OpenFileName(jobs.filePath("wall.tx4d")));
        const qint64 opened = timer.nsecsElapsed();
        QCOMPARE(form.Workspace().Table("SurchargeTable").RowCount(), 3);
        qInfo("main window shown in %.1f ms; example opened in %.2f ms", started / 1e6, opened / 1e6);
    }

    void aSecondRunWhileTheLibraryIsHeldIsRefused() {
        QTemporaryDir jobs, run;
        QVERIFY(QFile::copy(TORVEX_SOURCE_DIR "/examples/cantilever-sand.tx4d",
                            jobs.filePath("sand.tx4d")));
        TMainForm form;
        QVERIFY(form.OpenFileName(jobs.filePath("sand.tx4d")));
        form.SetProgramFolder(run.path());
        form.SetEngineLibraryPath(TORVEX_ENGINE_LIBRARY);
        ui_.Clear();
        bool again = true;
        ui_.onInformation = [&](const QString& text) {
            if (text == kCompleted && again) {
                again = false;
                form.CompRunClick();
            }
        };
        form.CompRunClick();
        QCOMPARE(ui_.shown, QStringList({kCompleted, "Attempt to reinitialize DLL"}));
        QVERIFY(!QFile::exists(QDir(form.RunFolder()).filePath("names.dat")));
        QVERIFY(form.PlotLoaded());
    }

    // ---- Viewers and help ----

    // The editor is a program and its arguments; the file is always the last, and one, argument.
    void textEditorsGetTheFileAsOneArgument() {
        QTemporaryDir tools;
        QVERIFY(QDir(tools.path()).mkpath("my tools"));
        const QString editor = WriteRecordingEditor(tools.filePath("my tools/ed"));
        QSettings settings("Norcel", "TORVEX");
        settings.setValue("2012.4.2/Word Processor", editor + " -n");
        settings.sync();
        TMainForm form;
        form.Workspace().Project().FileName = "/w/a b.tx4d";
        QList<torvex::TProgramCall> started;
        form.SetProcessStarter([&](const torvex::TProgramCall& call) {
            started << call;
            return true;
        });
        form.Action("CompOutput")->trigger();
        form.Action("CompKernel")->trigger();
        form.Action("CompInput")->trigger();
        form.SpeedButton5Click();
        const auto call = [&](const char* file) { return torvex::TProgramCall{editor, {"-n", file}}; };
        QCOMPARE(started, QList<torvex::TProgramCall>({call("/w/a b.tx4o"), call("/w/a b.tx4r"),
                                                       call("/w/a b.tx4d"), call("/w/a b.tx4o")}));
        QVERIFY(ui_.shown.isEmpty());
        form.SetProcessStarter([](const torvex::TProgramCall&) { return false; });
        form.CompOutputClick();
        QCOMPARE(ui_.shown, QStringList({"An error occurred in running the Word Processor"}));

        // A name made to break a command line reaches the real editor whole, and runs nothing.
        QTemporaryDir jobs;
        const QString hostile = jobs.filePath("x\" \"+!touch pwned\" \"y.tx4d");
        settings.setValue("2012.4.2/Word Processor", editor);
        settings.sync();
        TMainForm real;
        real.Workspace().Project().FileName = hostile.toStdString();
        QDir::setCurrent(jobs.path());
        real.Action("CompInput")->trigger();
        QTRY_COMPARE(torvex::testing::FileContent(editor + ".args"), (hostile + "\n--\n").toUtf8());
        QVERIFY(!QFile::exists(jobs.filePath("pwned")));

        // An editor that is not there fails to start for real, with the same message.
        ui_.Clear();
        settings.setValue("2012.4.2/Word Processor", "/nowhere/no-editor");
        settings.sync();
        TMainForm missing;
        missing.CompInputClick();
        QCOMPARE(ui_.shown, QStringList({"An error occurred in running the Word Processor"}));
    }

    // Blanks or the start-up default "xdg-open" (which would hand a data file to TORVEX) mean
    // the desktop's text editor: the handler of text/plain, else a usual editor, else a word.
    void theDefaultEditorIsTheDesktopsTextEditor() {
        QTemporaryDir home;
        const QString data = home.filePath("data"), config = home.filePath("config");
        const QString bin = home.filePath("bin");
        QVERIFY(QDir().mkpath(data + "/applications") && QDir().mkpath(config) && QDir().mkpath(bin));
        const QString editor = WriteRecordingEditor(home.filePath("rec"));
        WriteText(data + "/applications/rec.desktop",
                  "[Desktop Entry]\nType=Application\nName=Rec\nExec=" + editor + " --line %F %i\n");
        // The Exec line's quoting and a terminal program, read as the desktop does.
        WriteText(data + "/applications/term.desktop",
                  "[Desktop Entry]\nName=T\nTerminal=true\nExec=\"/opt/my ed/ed\" -t \"a \\\\\"b\\\\\" 100%%\" %U\n");
        QCOMPARE(torvex::DesktopEntryCall(data + "/applications/term.desktop", "/w/x \"y\".tx4d"),
                 std::optional(torvex::TProgramCall{"x-terminal-emulator",
                                                    {"-e", "/opt/my ed/ed", "-t", "a \"b\" 100%", "/w/x \"y\".tx4d"}}));
        WriteText(data + "/applications/torvex.desktop",
                  "[Desktop Entry]\nType=Application\nName=TORVEX\nExec=" + editor + " %f\n");
        WriteText(data + "/applications/console.desktop",
                  "[Desktop Entry]\nType=Application\nName=Console\nTerminal=true\nExec=" + editor + " %f\n");
        const QByteArray path = qgetenv("PATH");
        qputenv("XDG_DATA_HOME", data.toUtf8());
        qputenv("XDG_DATA_DIRS", data.toUtf8());
        qputenv("XDG_CONFIG_HOME", config.toUtf8());
        qputenv("XDG_CONFIG_DIRS", config.toUtf8());
        const auto handler = [&](const char* id) {
            WriteText(config + "/mimeapps.list", QString("[Default Applications]\ntext/plain=") + id + "\n");
        };
        for (const char* setting : {"", "   ", "xdg-open"}) {
            QSettings settings("Norcel", "TORVEX");
            settings.setValue("2012.4.2/Word Processor", setting);
            settings.sync();
            TMainForm form;
            handler("rec.desktop");
            QCOMPARE(form.EditorCall("/w/a.tx4d"),
                     std::optional(torvex::TProgramCall{editor, {"--line", "/w/a.tx4d"}}));
            // TORVEX's own entry is passed over for an editor found on the path.
            handler("torvex.desktop");
            WriteRecordingEditor(bin + "/gedit");
            qputenv("PATH", (bin + ":" + path).toUtf8());
            QCOMPARE(form.EditorCall("/w/a.tx4d"),
                     std::optional(torvex::TProgramCall{bin + "/gedit", {"/w/a.tx4d"}}));
            // So is a terminal editor without a terminal to show it in.
            if (QStandardPaths::findExecutable("x-terminal-emulator").isEmpty()) {
                handler("console.desktop");
                QCOMPARE(form.EditorCall("/w/a.tx4d"),
                         std::optional(torvex::TProgramCall{bin + "/gedit", {"/w/a.tx4d"}}));
            }
            // None at all: the message names the setting.
            QFile::remove(bin + "/gedit");
            qputenv("PATH", bin.toUtf8());
            ui_.Clear();
            form.Workspace().Project().FileName = "/w/a.tx4d";
            form.Action("CompInput")->trigger();
            QCOMPARE(ui_.shown, QStringList({"No text editor was found to open \"/w/a.tx4d\". "
                                             "Choose one under Options, Option of Text Editor."}));
            qputenv("PATH", path);
        }
        // A help document that nothing installed can show is reported; a missing one is not.
        QTemporaryDir program;
        WriteText(program.filePath("TORVEX 2012 Users Manual.pdf"), "%PDF-1.4\n");
        TMainForm form;
        form.SetProgramFolder(program.path());
        ui_.Clear();
        form.Action("UserssManual1")->trigger();
        form.Action("Tec1")->trigger();
        QCOMPARE(ui_.shown, QStringList({"No program is installed that shows \"TORVEX 2012 Users "
                                         "Manual.pdf\". Install a viewer for this type of file, or open " +
                                         program.filePath("TORVEX 2012 Users Manual.pdf") + " yourself."}));
        for (const char* name : {"XDG_DATA_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS"})
            qunsetenv(name);
    }

    void helpFilesOpenFromTheProgramFolderWithoutMessages() {
        QTemporaryDir program;
        TMainForm form;
        form.SetProgramFolder(program.path());
        QList<QUrl> opened;
        form.SetUrlOpener([&](const QUrl& url) {
            opened << url;
            return true;
        });
        form.Action("HelpContents")->trigger();
        form.UserssManual1Click();
        form.Tec1Click();
        QCOMPARE(opened, QList<QUrl>({QUrl::fromLocalFile(program.filePath("TORVEX_2012.html")),
                                      QUrl::fromLocalFile(program.filePath("TORVEX 2012 Users Manual.pdf")),
                                      QUrl::fromLocalFile(program.filePath("TorvexTechnicalManual.pdf"))}));
        QVERIFY(ui_.shown.isEmpty());
        // The build puts the documents beside the program, the install in its own tree
        // (TORVEX_INSTALLED_BIN names the installed program's folder when the install is tested).
        QStringList folders{QCoreApplication::applicationDirPath()};
        if (qEnvironmentVariableIsSet("TORVEX_INSTALLED_BIN"))
            folders << qEnvironmentVariable("TORVEX_INSTALLED_BIN");
        for (const QString& folder : folders) {
            form.SetProgramFolder(folder);
            opened.clear();
            form.Action("HelpContents")->trigger();
            form.Action("UserssManual1")->trigger();
            form.Action("Tec1")->trigger();
            QCOMPARE(opened.size(), 3);
            for (const QUrl& url : opened) QVERIFY2(QFileInfo(url.toLocalFile()).isFile(), qPrintable(url.toLocalFile()));
            QVERIFY(QFileInfo(form.EngineLibraryPath()).isFile());
        }
    }

    // ---- Table editors in the main window ----

    void dataMenuTablesOpenTheirEditorsInTheDesk() {
        TMainForm form;
        form.Action("DataMenu")->menu()->aboutToShow();
        form.Action("DataAxLoads")->trigger();
        const QList<QMdiSubWindow*> children = form.Desk()->subWindowList();
        QCOMPARE(children.size(), 1);
        auto* editor = qobject_cast<torvex::TTableForm*>(children.first()->widget());
        QVERIFY(editor);
        QCOMPARE(editor->Table(), form.Workspace().FindTable("NewSoil"));
        // Asking again shows the same window.
        form.ShowTableEditor("NewSoil");
        QCOMPARE(form.Desk()->subWindowList().size(), 1);
    }

    // ---- End to end ----

    void examplesRunSaveAsAndReopen_data() {
        QTest::addColumn<QString>("example");
        const QDir examples(TORVEX_SOURCE_DIR "/examples");
        const QStringList files = examples.entryList({"*.tx4d"}, QDir::Files, QDir::Name);
        QVERIFY(files.size() >= 6);
        for (const QString& name : files)
            QTest::newRow(qPrintable(name)) << examples.filePath(name);
    }
    void examplesRunSaveAsAndReopen() {
        QFETCH(QString, example);
        QTemporaryDir jobs, run;
        const QString data = jobs.filePath(QFileInfo(example).fileName());
        QVERIFY(QFile::copy(example, data));
        TMainForm form;
        QVERIFY(form.OpenFileName(data));
        QVERIFY(!form.Action("SpeedButton8")->isEnabled());
        QVERIFY(!form.Action("SpeedButton5")->isEnabled());
        form.SetProgramFolder(run.path());
        form.SetEngineLibraryPath(TORVEX_ENGINE_LIBRARY);
        ui_.Clear();
        form.CompRunClick();
        QCOMPARE(ui_.shown, QStringList({kCompleted}));
        QVERIFY(ui_.saveTitles.isEmpty());
        QVERIFY(form.PlotLoaded());
        for (const char* extension : {".tx4o", ".tx4p", ".tx4r"})
            QVERIFY2(QFile::exists(jobs.filePath(QFileInfo(data).completeBaseName() + extension)),
                     extension);
        QVERIFY(!QFile::exists(QDir(form.RunFolder()).filePath("names.dat")));
        QCOMPARE(QDir::currentPath(), QDir(form.RunFolder()).canonicalPath());

        // The graph buttons follow the rule, and there is a deflection to show.
        const torvex::TGraphToolButtons expected = torvex::GraphToolButtonState(form.Graphs(), true);
        QVERIFY(expected.SpeedButton8);
        const torvex::TGraphToolButtons shown{
            form.Action("SpeedButton13")->isEnabled(), form.Action("SpeedButton8")->isEnabled(),
            form.Action("SpeedButton11")->isEnabled(), form.Action("SpeedButton10")->isEnabled(),
            form.Action("SpeedButton12")->isEnabled(), form.Action("SpeedButton19")->isEnabled(),
            form.Action("SpeedButton9")->isEnabled()};
        QVERIFY(shown == expected);
        QVERIFY(form.Action("SpeedButton5")->isEnabled());

        // Save As to a new name; opened again and saved, the file stays the same.
        const QByteArray saved = torvex::testing::FileContent(data);
        const QString copy = jobs.filePath("copy of wall.tx4d");
        ui_.savePath = copy;
        form.FileSaveAsClick();
        QCOMPARE(torvex::testing::FileContent(copy), saved);
        // The program writes the bundled examples back exactly as they are.
        QCOMPARE(saved, torvex::testing::FileContent(example));
        QCOMPARE(form.windowTitle(), QString("TORVEX 2012.4.2 - Copy of wall.tx4d"));
        TMainForm again;
        QVERIFY(again.OpenFileName(copy));
        again.FileSaveClick();
        QCOMPARE(torvex::testing::FileContent(copy), saved);
        QCOMPARE(again.Workspace().Project().Title, form.Workspace().Project().Title);
        QCOMPARE(again.Workspace().Project().StageCount, form.Workspace().Project().StageCount);
    }

    // ---- Picture ----

    void screenshotWithAnExampleAndATableEditor() {
        QTemporaryDir jobs;
        const QString data = jobs.filePath("cantilever-sand.tx4d");
        QVERIFY(QFile::copy(TORVEX_SOURCE_DIR "/examples/cantilever-sand.tx4d", data));
        TMainForm form;
        form.resize(900, 640);
        QVERIFY(form.OpenFileName(data));
        form.SetProgramFolder(jobs.path());
        form.SetEngineLibraryPath(TORVEX_ENGINE_LIBRARY);
        form.CompRunClick();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.ShowTableEditor("NewSoil");
        QCOMPARE(form.Desk()->subWindowList().size(), 1);
        QTest::qWait(50);
        QVERIFY(form.grab().save(QCoreApplication::applicationDirPath() +
                                 "/screenshot-document-commands.png"));
    }
};

QTEST_MAIN(DocumentCommandsTest)
#include "DocumentCommandsTest.moc"

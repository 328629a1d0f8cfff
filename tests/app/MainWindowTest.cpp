// The main window starts, is titled and carries its desk for child windows.

#include <QMdiArea>
#include <QTemporaryDir>
#include <QtTest>

#include "AppTestSupport.h"
#include "app/Display.h"
#include "app/MainWindow.h"

class MainWindowTest : public QObject {
    Q_OBJECT
    QTemporaryDir settingsDir_;
private slots:
    // Settings of the test's own, never the user's.
    void initTestCase() { torvex::testing::UseTemporarySettings(settingsDir_.path()); }
    void startsWithTitleAndDesk() {
        torvex::TMainForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(form.windowTitle(), QString("TORVEX 2012.4.2 - NewWall.tx4d"));
        QVERIFY(form.findChild<QMdiArea*>("Desk") != nullptr);
        QCOMPARE(form.centralWidget(), form.Desk());
        const QString shot = QCoreApplication::applicationDirPath() + "/screenshot-main.png";
        QVERIFY(form.grab().save(shot));
    }

    void displayIsRecognisedFromPlatformArgument() {
        char program[] = "torvex";
        char platform[] = "-platform";
        char offscreen[] = "offscreen";
        char* withPlatform[] = {program, platform, offscreen};
        QVERIFY(torvex::DisplayAvailable(3, withPlatform));
        // "-platform" without a value names no platform.
        qunsetenv("QT_QPA_PLATFORM");
        qunsetenv("DISPLAY");
        qunsetenv("WAYLAND_DISPLAY");
        char* dangling[] = {program, platform};
        QVERIFY(!torvex::DisplayAvailable(2, dangling));
        QVERIFY(QString::fromStdString(torvex::NoDisplayMessage()).contains("xvfb-run"));
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"

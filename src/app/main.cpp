// Program entry: checks for a display, creates the application and the main window, opens
// the data file named on the command line and runs the event loop.

#include <QApplication>
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "app/Application.h"
#include "app/Display.h"
#include "app/MainWindow.h"
#include "app/ToolIcons.h"

int main(int argc, char** argv) {
    if (!torvex::DisplayAvailable(argc, argv)) {
        std::cerr << torvex::NoDisplayMessage();
        return 1;
    }
    // A file-size limit makes a write fail, as a full disk does, instead of ending the program
    // with the user's work.
    std::signal(SIGXFSZ, SIG_IGN);
    torvex::TApplication application(argc, argv);
    QApplication::setApplicationName(torvex::kApplicationTitle);
    QApplication::setOrganizationName("Norcel");
    QApplication::setWindowIcon(torvex::ProgramIcon());
    torvex::TMainForm mainForm;
    // The window is up first, so that a message about the file stands in front of it. Qt has
    // taken its own options (-platform ...) out of argv by now; the names are taken as bytes,
    // so that a file name in any encoding opens.
    mainForm.show();
    mainForm.OpenCommandLineBytes(std::vector<std::string>(argv + 1, argv + argc));
    return application.exec();
}

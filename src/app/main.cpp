// Program entry: checks for a display, creates the application and the main window, opens
// the data file named on the command line and runs the event loop.

#include <QApplication>
#include <iostream>

#include "app/Display.h"
#include "app/MainWindow.h"

int main(int argc, char** argv) {
    if (!torvex::DisplayAvailable(argc, argv)) {
        std::cerr << torvex::NoDisplayMessage();
        return 1;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(torvex::kApplicationTitle);
    QApplication::setOrganizationName("Norcel");
    torvex::TMainForm mainForm;
    // Qt has taken its own options (-platform ...) out of the arguments by now.
    mainForm.OpenCommandLine(QApplication::arguments().mid(1));
    mainForm.show();
    return application.exec();
}

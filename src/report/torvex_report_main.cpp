// torvex-report [--letter] [--nodes] DIR FILE...: the calculation report of each data file as
// DIR/NAME.pdf, made without a display on every core. torvex-run --pdf DIR starts it.

#include <QGuiApplication>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <string>

#include "report/ReportBatch.h"

namespace {

// Qt's notes about the desktop (no runtime folder, no display) are no concern of a batch run:
// only its errors go to standard error.
void ErrorsOnly(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << "torvex-report: " << message.toStdString() << "\n";
}

int Usage(bool asked) {
    (asked ? std::cout : std::cerr)
        << "usage: torvex-report [--letter] [--nodes] DIR FILE...\n"
           "  Analyses each data file and writes its calculation report as DIR/NAME.pdf.\n"
           "  --letter  US Letter paper (A4 otherwise)\n"
           "  --nodes   the node results of every case as an appendix\n";
    return asked ? 0 : 2;
}

}  // namespace

int main(int argc, char** argv) {
    // A file-size limit is a write error naming the report, not a signal.
    std::signal(SIGXFSZ, SIG_IGN);
    torvex::TReportBatch batch;
    bool optionsEnded = false;
    std::vector<std::string> operands;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (optionsEnded || arg.empty() || arg[0] != '-') operands.push_back(arg);
        else if (arg == "--") optionsEnded = true;
        else if (arg == "-h" || arg == "--help") return Usage(true);
        else if (arg == "--letter") batch.letter = true;
        else if (arg == "--nodes") batch.nodeAppendix = true;
        else {
            std::cerr << "torvex-report: unknown option: " << arg << "\n";
            return Usage(false);
        }
    }
    if (operands.size() < 2) return Usage(false);
    batch.folder = operands.front();
    batch.files.assign(operands.begin() + 1, operands.end());
    // No window is shown: without a display the reports are drawn off screen.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler(ErrorsOnly);
    QGuiApplication application(argc, argv);
    return torvex::RunReportBatch(batch, std::cout, std::cerr);
}

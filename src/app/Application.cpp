#include "app/Application.h"

#include <new>

#include "desktop/UserInterface.h"

namespace torvex {

QString ExceptionMessage(const std::exception& error) {
    if (dynamic_cast<const std::bad_alloc*>(&error)) return kOutOfMemoryMessage;
    const QString text = QString::fromStdString(error.what());
    return text.isEmpty() ? QString("The command failed.") : text;
}

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        Report(ExceptionMessage(error));
    } catch (...) {
        Report("The command failed with an unknown error.");
    }
    return false;
}

void TApplication::Report(const QString& message) {
    // A failure while the box is up is not shown again on top of it.
    if (reporting_) return;
    reporting_ = true;
    try {
        UserInterface().Information(activeWindow(), message);
    } catch (...) {
    }
    reporting_ = false;
}

}  // namespace torvex

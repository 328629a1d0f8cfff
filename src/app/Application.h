#pragma once
// The program's application object. An exception that no command caught would end the
// program and lose the user's work; here it ends only the command, with its message shown in
// the program's error box.

#include <QApplication>
#include <QString>
#include <exception>

namespace torvex {

// The words shown for an exception: its own message; an out-of-memory failure in words.
QString ExceptionMessage(const std::exception& error);
inline constexpr const char* kOutOfMemoryMessage =
    "There is not enough memory to finish the command. Close other windows or programs and "
    "try again.";

class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

private:
    void Report(const QString& message);
    bool reporting_ = false;
};

}  // namespace torvex

#pragma once
// What the main window asks of its child windows. An input dialog or a table editor keeps a
// typed entry apart from the project until it is left; before a command reads the project
// (a menu drops down, Save, Run Analysis, New, Open, a stage switch, closing), the main window
// asks the active child to copy its pending edits into the project.

namespace torvex {

class TCommitsEdits {
public:
    virtual ~TCommitsEdits() = default;
    // Copies the window's pending edits into the project. When an entry is bad, the window
    // shows the message, comes to the front with the bad entry focused and returns false:
    // the command that asked is then not carried out.
    virtual bool CommitEdits() = 0;
};

}  // namespace torvex

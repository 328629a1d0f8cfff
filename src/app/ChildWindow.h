#pragma once
// What the main window asks of its child windows. An input dialog keeps its fields apart
// from the project until it is left; before a menu reads the project, the main window asks
// the active child to copy its pending edits into the project.

namespace torvex {

class TCommitsEdits {
public:
    virtual ~TCommitsEdits() = default;
    // Copies the window's pending edits into the project.
    virtual void CommitEdits() = 0;
};

}  // namespace torvex

#pragma once
// Workspaces kept for the next data file: making one builds every table from its declaration,
// which costs as much as reading a small file into it. A reader empties a workspace before it
// fills it, so a used one reads a file exactly as a new one does.

#include <memory>

#include "project/Workspace.h"

namespace torvex::engine {

class TPooledWorkspace {
public:
    TPooledWorkspace();
    ~TPooledWorkspace();
    TPooledWorkspace(const TPooledWorkspace&) = delete;
    TPooledWorkspace& operator=(const TPooledWorkspace&) = delete;

    TWorkspace& operator*() const { return *workspace_; }
    TWorkspace* operator->() const { return workspace_.get(); }

private:
    std::unique_ptr<TWorkspace> workspace_;
};

}  // namespace torvex::engine

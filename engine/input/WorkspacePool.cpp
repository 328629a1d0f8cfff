#include "input/WorkspacePool.h"

#include <mutex>
#include <vector>

namespace torvex::engine {
namespace {

// As many as threads analyse at once, within reason; a static, not a thread-local: the engine
// library must unload when the program lets it go.
constexpr size_t kKept = 16;

std::mutex& PoolMutex() {
    static std::mutex mutex;
    return mutex;
}

std::vector<std::unique_ptr<TWorkspace>>& Pool() {
    static std::vector<std::unique_ptr<TWorkspace>> pool;
    return pool;
}

}  // namespace

TPooledWorkspace::TPooledWorkspace() {
    {
        const std::lock_guard lock(PoolMutex());
        if (!Pool().empty()) {
            workspace_ = std::move(Pool().back());
            Pool().pop_back();
        }
    }
    if (!workspace_) workspace_ = std::make_unique<TWorkspace>();
}

TPooledWorkspace::~TPooledWorkspace() {
    // The callbacks of the last reader point into its stack.
    workspace_->ShowInformation = nullptr;
    workspace_->SetStatusText = nullptr;
    workspace_->CloseChildWindows = nullptr;
    workspace_->RefreshOpenDialogs = nullptr;
    workspace_->OnModifiedChanged = nullptr;
    const std::lock_guard lock(PoolMutex());
    if (Pool().size() < kKept) Pool().push_back(std::move(workspace_));
}

}  // namespace torvex::engine

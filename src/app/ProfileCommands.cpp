// The commands that open the side view of the wall and the soil: the View Soil Profile
// button (always enabled) and Computation, View Wall Geometry.

#include <QMdiSubWindow>

#include "app/MainWindow.h"
#include "profile/SideView.h"

namespace torvex {
namespace {

constexpr const char* kSideViewName = "DlgSideView";

}  // namespace

void TMainForm::SpeedButton6Click() {
    const bool created = SingleChild(kSideViewName) == nullptr;
    QMdiSubWindow* child =
        ShowSingleChild(kSideViewName, [this] { return new TDlgSideView(workspace_); });
    if (created) child->resize(TDlgSideView::kOpeningWidth, TDlgSideView::kOpeningHeight);
}

void TMainForm::CompLayersClick() { SpeedButton6Click(); }

}  // namespace torvex

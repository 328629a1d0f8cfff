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
    // Sized before it shows: over a maximised graph it opens maximised too, and fills the area.
    ShowSingleChild(kSideViewName, [this] { return new TDlgSideView(workspace_); },
                    QSize(TDlgSideView::kOpeningWidth, TDlgSideView::kOpeningHeight));
}

void TMainForm::CompLayersClick() { SpeedButton6Click(); }

}  // namespace torvex

#include "project/ProgramData.h"

#include "project/UnitConversion.h"
#include "project/Workspace.h"

namespace torvex {

TProgramData& CreateDefaultProject(TWorkspace& workspace) {
    if (workspace.CloseChildWindows) workspace.CloseChildWindows();
    // A fresh project holds the defaults: "NewWall.tx4d", English units, "New Wall".
    workspace.SetProject(std::make_unique<TProgramData>());
    // English to English converts no project value; it switches every table to English.
    ChangeUnitSystem(workspace, 1);
    for (int i = 0; i < workspace.TableCount(); ++i) {
        TGridTable& table = workspace.TableAt(i);
        table.SetRowCount(0);
        table.SetRowCount(table.MinRows());
    }
    workspace.MarkSaved();
    workspace.Project().FullFormat = 1;
    return workspace.Project();
}

}  // namespace torvex

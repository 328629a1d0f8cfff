#include "project/ProgramData.h"

#include "project/UnitConversion.h"
#include "project/Workspace.h"

namespace torvex {

TProgramData& CreateEmptyProject(TWorkspace& workspace) {
    if (workspace.CloseChildWindows) workspace.CloseChildWindows();
    // Emptied first, so that the switch to English units has no values to convert.
    for (int i = 0; i < workspace.TableCount(); ++i) workspace.TableAt(i).SetRowCount(0);
    // A fresh project holds the defaults: "NewWall.tx4d", English units, "New Wall".
    workspace.SetProject(std::make_unique<TProgramData>());
    // English to English converts no project value; it switches every table to English.
    ChangeUnitSystem(workspace, 1);
    workspace.MarkSaved();
    workspace.Project().FullFormat = 1;
    return workspace.Project();
}

TProgramData& CreateDefaultProject(TWorkspace& workspace) {
    CreateEmptyProject(workspace);
    for (int i = 0; i < workspace.TableCount(); ++i) {
        TGridTable& table = workspace.TableAt(i);
        table.SetRowCount(table.MinRows());
    }
    workspace.MarkSaved();
    return workspace.Project();
}

}  // namespace torvex

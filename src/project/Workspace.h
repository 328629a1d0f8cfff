#pragma once
// What the main window owns besides its windows: the table registry, the 25 declared input
// tables and the one project (later also the result graphs). The main window, the engine
// and every test make their own, so none of them shares tables with another.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dataentry/Table.h"
#include "project/ProgramData.h"

namespace torvex {

class TWorkspace {
public:
    // Declares the tables in declaration order and gives them their start-up comments and
    // help pictures.
    TWorkspace();
    ~TWorkspace();
    TWorkspace(const TWorkspace&) = delete;
    TWorkspace& operator=(const TWorkspace&) = delete;

    TTableRegistry& Registry() { return registry_; }
    int TableCount() const { return static_cast<int>(tables_.size()); }
    TGridTable& TableAt(int index) const;
    // By component name, ignoring case ("SoilLayer" finds "Soillayer"); nullptr when none.
    TGridTable* FindTable(const std::string& name) const;
    // As FindTable, but a missing table is an internal error (std::logic_error).
    TGridTable& Table(const std::string& name) const;

    // Broadcasts a unit system to every table, in declaration order.
    void SetUnits(int system);

    // The project. A workspace starts with a project holding the defaults; use
    // CreateDefaultProject to also reset the tables.
    TProgramData& Project() { return *project_; }
    const TProgramData& Project() const { return *project_; }
    void SetProject(std::unique_ptr<TProgramData> project);

    // The modified flag of the project (the main window's), apart from the tables' own.
    bool Modified() const { return modified_; }
    void SetModified(bool modified);
    // True when the project or any table was changed since the last save.
    bool IsModified() const;
    // Clears the modified flag and the changed flag of every table.
    void MarkSaved();

    // Hooks for the main window: close every child window (table editors, plot windows);
    // re-show the open dialogs after a change of unit system; hear about the modified flag.
    std::function<void()> CloseChildWindows;
    std::function<void()> RefreshOpenDialogs;
    std::function<void(bool)> OnModifiedChanged;
    // Shows a message in an information box with an OK button (errors that do not end a
    // command, such as a stage file that cannot be read). Unset: the message is dropped.
    std::function<void(const std::string&)> ShowInformation;
    // Sets the text of the main window's status bar ("" clears it).
    std::function<void(const std::string&)> SetStatusText;

private:
    TTableRegistry registry_;
    std::vector<std::unique_ptr<TGridTable>> tables_;
    std::unique_ptr<TProgramData> project_;
    bool modified_ = false;
};

}  // namespace torvex

#pragma once
// What the main window owns besides its windows: the table registry and the 25 declared
// input tables (later also the project and the result graphs). The main window, the engine
// and every test make their own, so none of them shares tables with another.

#include <memory>
#include <string>
#include <vector>

#include "dataentry/Table.h"

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

private:
    TTableRegistry registry_;
    std::vector<std::unique_ptr<TGridTable>> tables_;
};

}  // namespace torvex

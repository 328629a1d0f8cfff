#include "project/Workspace.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "dataentry/TableCatalogue.h"

namespace torvex {
namespace {

bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

}  // namespace

TWorkspace::TWorkspace() : project_(std::make_unique<TProgramData>()) {
    for (const TTableDeclaration& declaration : TableCatalogue()) {
        auto table = std::make_unique<TGridTable>(registry_);
        table->LoadDeclaration(declaration);
        tables_.push_back(std::move(table));
    }
    for (const TTableComment& comment : TableStartupComments())
        Table(comment.Table).Comments = comment.Comments;
    for (const TTableHelpPicture& picture : TableHelpPictures())
        Table(picture.Table).SetHelpPicture(picture.Picture);
}

TWorkspace::~TWorkspace() {
    // Sub-table copies live in their parent tables; free parents last-declared first so
    // that template tables outlive the tables whose rows copied them.
    while (!tables_.empty()) tables_.pop_back();
}

TGridTable& TWorkspace::TableAt(int index) const {
    if (index < 0 || index >= TableCount()) throw std::out_of_range("table index");
    return *tables_[static_cast<size_t>(index)];
}

TGridTable* TWorkspace::FindTable(const std::string& name) const {
    for (const auto& table : tables_)
        if (SameName(table->Name, name)) return table.get();
    return nullptr;
}

TGridTable& TWorkspace::Table(const std::string& name) const {
    TGridTable* table = FindTable(name);
    if (!table) throw std::logic_error("No table named " + name);
    return *table;
}

void TWorkspace::SetUnits(int system) {
    for (const auto& table : tables_) table->SetUnits(system);
}

void TWorkspace::SetProject(std::unique_ptr<TProgramData> project) {
    if (!project) throw std::logic_error("A workspace always holds a project");
    project_ = std::move(project);
}

void TWorkspace::SetModified(bool modified) {
    modified_ = modified;
    if (OnModifiedChanged) OnModifiedChanged(modified);
}

bool TWorkspace::IsModified() const {
    if (modified_) return true;
    return std::any_of(tables_.begin(), tables_.end(),
                       [](const auto& table) { return table->IsChanged(); });
}

void TWorkspace::MarkSaved() {
    SetModified(false);
    for (const auto& table : tables_) table->SetChanged(false);
}

}  // namespace torvex

#include "dialogs/DlgJob.h"

#include <QFormLayout>
#include <QLineEdit>

#include <iterator>

#include "project/OptionBlock.h"
#include "project/ProgramData.h"
#include "project/Workspace.h"

namespace torvex {
namespace {

struct TJobField {
    const char* name;
    const char* caption;
    std::string TProjectOptions::*field;
};

constexpr TJobField kFields[] = {{"edJobNumber", "Job &number:", &TProjectOptions::JobNumber},
                                 {"edJobTitle", "Job &title:", &TProjectOptions::JobTitle},
                                 {"edEngineer", "&Engineer:", &TProjectOptions::Engineer},
                                 {"edChecker", "&Checker:", &TProjectOptions::Checker},
                                 {"edRevision", "&Revision:", &TProjectOptions::Revision}};

}  // namespace

TDlgJob::TDlgJob(TWorkspace& workspace, QMdiArea* desk, QWidget* parent) : TInputDialog(workspace, desk, parent) {
    setObjectName("DlgJob");
    setWindowTitle("Job Details");
    auto* form = new QFormLayout(this);
    QLineEdit** edits[] = {&edJobNumber, &edJobTitle, &edEngineer, &edChecker, &edRevision};
    for (size_t i = 0; i < std::size(kFields); ++i) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(kFields[i].name);
        edit->setMaxLength(static_cast<int>(kMaxJobTextBytes));
        edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QString(40, 'n')));
        form->addRow(kFields[i].caption, edit);
        *edits[i] = edit;
        connect(edit, &QLineEdit::textEdited, this, [this] { Changed(); });
    }
}

void TDlgJob::FormActivate() {
    QLineEdit* const edits[] = {edJobNumber, edJobTitle, edEngineer, edChecker, edRevision};
    for (size_t i = 0; i < std::size(kFields); ++i)
        edits[i]->setText(QString::fromStdString(Project().Options.*kFields[i].field));
}

void TDlgJob::CopyOut() {
    QLineEdit* const edits[] = {edJobNumber, edJobTitle, edEngineer, edChecker, edRevision};
    for (size_t i = 0; i < std::size(kFields); ++i) {
        // One line: a pasted line break or tab becomes a blank, as the block keeps one line.
        QString text = edits[i]->text();
        for (QChar& c : text)
            if (c.unicode() < 0x20 || c.unicode() == 0x7F) c = ' ';
        Project().Options.*kFields[i].field = TrimmedJobText(text.toStdString());
    }
}

}  // namespace torvex

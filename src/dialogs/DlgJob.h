#pragma once
// "Job Details": the job number and title, the engineer, the checker and the revision, which
// the calculation report prints in its title block and in every page's footer. They are kept
// with the project's options, apart from the one-line project title.

#include "dialogs/InputDialog.h"

class QLineEdit;

namespace torvex {

class TDlgJob : public TInputDialog {
    Q_OBJECT
public:
    TDlgJob(TWorkspace& workspace, QMdiArea* desk, QWidget* parent = nullptr);
    QLineEdit *edJobNumber, *edJobTitle, *edEngineer, *edChecker, *edRevision;

protected:
    void FormActivate() override;
    void CopyOut() override;
};

}  // namespace torvex

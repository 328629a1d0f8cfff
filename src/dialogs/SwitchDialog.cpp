#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/LoadDialogs.h"
#include "dialogs/PictureView.h"
#include "project/Workspace.h"

namespace torvex {

TSwitchDialog::TSwitchDialog(TWorkspace& workspace, QMdiArea* desk, const TParts& parts,
                             QWidget* parent)
    : TInputDialog(workspace, desk, parent), flag_(parts.flag), table_(parts.table) {
    setObjectName(parts.name);
    setWindowTitle(parts.caption);
    auto* column = new QVBoxLayout(this);
    auto* picture = new TPictureView(parts.picture, 1.0, this);
    picture->setObjectName("Image1");
    column->addWidget(picture, 1);
    auto* row = new QHBoxLayout;
    column->addLayout(row);
    check_ = new QCheckBox(parts.checkCaption, this);
    check_->setObjectName(parts.checkName);
    row->addWidget(check_);
    row->addStretch(1);
    button_ = new QPushButton(parts.buttonCaption, this);
    button_->setObjectName(parts.buttonName);
    row->addWidget(button_);
    // Clicks by the user only: copying the flag in is no change.
    connect(check_, &QCheckBox::clicked, this, &TSwitchDialog::CheckClick);
    connect(button_, &QPushButton::clicked, this,
            [this] { Workspace().Table(table_).ShowEditor(); });
}

void TSwitchDialog::FormActivate() {
    const bool on = Project().*flag_ != 0;
    check_->setChecked(on);
    button_->setEnabled(on);
}

void TSwitchDialog::CheckClick() {
    const bool on = check_->isChecked();
    button_->setEnabled(on);
    if (!on) Workspace().Table(table_).CloseEditor();
    Changed();
}

void TSwitchDialog::CopyOut() { Project().*flag_ = check_->isChecked() ? 1 : 0; }

TSwitchDialog* NewDlgSpring(TWorkspace& workspace, QMdiArea* desk) {
    return new TSwitchDialog(workspace, desk,
                             {"DlgSpring", "Lateral & Rotational Springs", ":/pictures/Springs.svg",
                              "ChkSpring", "&Lateral and Rotational Springs", "btnSpring",
                              "&Edit Spring Stiffness", &TProgramData::UseSprings, "SoilStrength"});
}

TSwitchDialog* NewDlgConLoads(TWorkspace& workspace, QMdiArea* desk) {
    return new TSwitchDialog(
        workspace, desk,
        {"DlgConLoads", "Concentrated Loads", ":/pictures/ConcentratedLoads.svg", "ChkConLoads",
         "Apply &Concentrated Loads", "btnConLoads", "&Edit Concentrated Loads",
         &TProgramData::UseConcentratedLoads, "BoundCond"});
}

}  // namespace torvex

#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/LoadDialogs.h"
#include "dialogs/PictureView.h"
#include "project/Workspace.h"

namespace torvex {

TDlgRebar::TDlgRebar(TWorkspace& workspace, QMdiArea* desk, QWidget* parent)
    : TInputDialog(workspace, desk, parent) {
    setObjectName("DlgRebar");
    setWindowTitle("Additional Surcharge");
    auto* column = new QVBoxLayout(this);
    auto* picture = new TPictureView(":/pictures/Surcharges.svg", 1.0, this);
    picture->setObjectName("Image1");
    column->addWidget(picture, 1);
    btnSurcharge = new QPushButton("&Edit Surcharge Loads", this);
    btnSurcharge->setObjectName("btnSurcharge");
    column->addWidget(btnSurcharge, 0, Qt::AlignHCenter);
    connect(btnSurcharge, &QPushButton::clicked, this,
            [this] { Workspace().Table("SurchargeTable").ShowEditor(); });
}

}  // namespace torvex

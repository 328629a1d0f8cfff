#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "desktop/UserInterface.h"
#include "dialogs/LoadDialogs.h"

namespace torvex {

TDlgOptions::TDlgOptions(TWorkspace& workspace, QMdiArea* desk, std::function<QString()> get,
                         std::function<void(const QString&)> set, QWidget* parent)
    : TInputDialog(workspace, desk, parent), get_(std::move(get)), set_(std::move(set)) {
    setObjectName("DlgOptions");
    setWindowTitle("Control Options");
    auto* grid = new QGridLayout(this);
    auto* label = new QLabel("&Text Editor:", this);
    EdtWord = new QLineEdit(this);
    EdtWord->setObjectName("EdtWord");
    EdtWord->setMinimumWidth(EdtWord->fontMetrics().horizontalAdvance(QString(40, 'n')));
    label->setBuddy(EdtWord);
    BtnBrowse = new QPushButton("&Browse...", this);
    BtnBrowse->setObjectName("BtnBrowse");
    grid->addWidget(label, 0, 0);
    grid->addWidget(EdtWord, 0, 1);
    grid->addWidget(BtnBrowse, 0, 2);
    grid->setRowStretch(1, 1);
    connect(BtnBrowse, &QPushButton::clicked, this, &TDlgOptions::BtnBrowseClick);
}

void TDlgOptions::FormActivate() { EdtWord->setText(get_()); }

// The editor is a setting of the program, not of the project: no modified mark.
void TDlgOptions::CopyOut() { set_(EdtWord->text()); }

void TDlgOptions::BtnBrowseClick() {
    const QString chosen = UserInterface().ProgramFileName(this, "Open", EdtWord->text());
    if (!chosen.isEmpty()) EdtWord->setText(QFileInfo(chosen).absoluteFilePath());
}

}  // namespace torvex

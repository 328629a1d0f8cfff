#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "dialogs/LoadDialogs.h"
#include "project/Workspace.h"

namespace torvex {

TdlgTitle::TdlgTitle(TWorkspace& workspace, QMdiArea* desk, QWidget* parent)
    : TInputDialog(workspace, desk, parent) {
    setObjectName("dlgTitle");
    setWindowTitle("Project Title");
    auto* column = new QVBoxLayout(this);
    auto* label = new QLabel("Enter text line for project description:", this);
    column->addWidget(label);
    TitleMemo = new QLineEdit(this);
    TitleMemo->setObjectName("TitleMemo");
    TitleMemo->setMaxLength(kMaxTitle);
    TitleMemo->setMinimumWidth(TitleMemo->fontMetrics().horizontalAdvance(QString(60, 'n')));
    column->addWidget(TitleMemo);
    column->addStretch(1);
    // One line: pasted line breaks become blanks.
    connect(TitleMemo, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (!text.contains('\n') && !text.contains('\r')) return;
        QString line = text;
        line.replace("\r\n", " ").replace('\r', ' ').replace('\n', ' ');
        TitleMemo->setText(line);
    });
}

void TdlgTitle::FormActivate() {
    TitleMemo->setText(QString::fromStdString(Project().Title));
    shown_ = TitleMemo->text();
}

void TdlgTitle::CopyOut() {
    if (TitleMemo->text() == shown_) return;
    shown_ = TitleMemo->text();
    const std::string text = shown_.toStdString();
    if (text == Project().Title) return;
    Project().Title = text;
    Changed();
}

}  // namespace torvex

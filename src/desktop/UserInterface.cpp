#include "desktop/UserInterface.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFormLayout>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QRegularExpression>
#include <QStandardPaths>
#include <vector>

#include "desktop/ExternalPrograms.h"
#include "project/OptionBlock.h"

namespace torvex {
namespace {

// Texts of the program use "\r" between lines; the boxes show them as line breaks.
QString Shown(const QString& text) {
    QString shown = text;
    shown.replace("\r\n", "\n").replace('\r', '\n');
    return shown;
}

// Qt's file dialog reads a typed name with double quotes as a list of quoted names, so that
// 'wall "B".pdf' would be saved as "B.pdf". A saved file has one name: quotes and all.
class TSaveDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;
    QString Chosen() const { return chosen_.isEmpty() && !selectedFiles().isEmpty() ? selectedFiles().front() : chosen_; }

protected:
    void accept() override {
        auto* edit = findChild<QLineEdit*>("fileNameEdit");
        const QString typed = edit ? edit->text() : QString();
        if (!typed.contains('"')) return QFileDialog::accept();
        QString path = QDir(directory().absolutePath()).filePath(typed);
        if (QFileInfo(path).isDir()) {
            setDirectory(path);
            edit->clear();
            return;
        }
        if (!defaultSuffix().isEmpty() && !QFileInfo(path).fileName().contains('.')) path += '.' + defaultSuffix();
        if (QFileInfo::exists(path) &&
            QMessageBox::warning(this, windowTitle(),
                                 QString("%1 already exists.\nDo you want to replace it?").arg(QFileInfo(path).fileName()),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
            return;
        chosen_ = path;
        QDialog::accept();
    }

private:
    QString chosen_;
};

class TQtUserInterface : public TUserInterface {
public:
    void Information(QWidget* parent, const QString& text) override {
        QMessageBox::information(parent, kApplicationTitle, Shown(text), QMessageBox::Ok);
    }
    TAnswer Confirm(QWidget* parent, const QString& text, bool withCancel) override {
        auto buttons = QMessageBox::Yes | QMessageBox::No;
        if (withCancel) buttons |= QMessageBox::Cancel;
        switch (QMessageBox::question(parent, kApplicationTitle, Shown(text), buttons)) {
            case QMessageBox::Yes: return TAnswer::Yes;
            case QMessageBox::No: return TAnswer::No;
            default: return TAnswer::Cancel;
        }
    }
    QString OpenFileName(QWidget* parent, const QString& title, const QStringList& filters,
                         int* selectedFilter) override {
        QString chosen;
        const QString path = QFileDialog::getOpenFileName(parent, title, QString(), filters.join(";;"), &chosen);
        if (selectedFilter) *selectedFilter = static_cast<int>(filters.indexOf(chosen)) + 1;
        return path;
    }
    QString SaveFileName(QWidget* parent, const QString& title, const QString& suggested,
                         const QStringList& filters, const QString& defaultExtension,
                         int* selectedFilter) override {
        TSaveDialog dialog(parent, title, suggested, filters.join(";;"));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(defaultExtension);
        if (selectedFilter) {
            // A bare name gets the extension of the file type shown, as the user chose it.
            const auto follow = [&dialog, defaultExtension](const QString& filter) {
                const QString extension = FilterExtension(filter);
                dialog.setDefaultSuffix(extension.isEmpty() ? defaultExtension : extension);
            };
            QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, follow);
            follow(dialog.selectedNameFilter());
        }
        if (dialog.exec() != QDialog::Accepted || dialog.Chosen().isEmpty()) return {};
        if (selectedFilter)
            *selectedFilter = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
        return dialog.Chosen();
    }
};

TQtUserInterface qtUserInterface;
TUserInterface* installed = nullptr;

}  // namespace

QString FilterExtension(const QString& filter) {
    static const QRegularExpression pattern(R"(\(\*\.([A-Za-z0-9]+)[ ;)])");
    const QRegularExpressionMatch match = pattern.match(filter);
    return match.hasMatch() ? match.captured(1) : QString();
}

TUserInterface& UserInterface() { return installed ? *installed : qtUserInterface; }

void SetUserInterface(TUserInterface* userInterface) { installed = userInterface; }

QString TUserInterface::ProgramFileName(QWidget* parent, const QString& title, const QString& preset) {
    const QString programs = "Programs (*)";
    QFileDialog dialog(parent, title);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({programs, "All Files (*)"});
    const auto show = [&dialog, programs](const QString& filter) {
        QDir::Filters listed = QDir::AllDirs | QDir::Files | QDir::NoDotAndDotDot;
        if (filter == programs) listed |= QDir::Executable;
        dialog.setFilter(listed);
    };
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, show);
    show(programs);
    // The program the setting names, also with its options ("kate -n") or found on the path.
    QString start;
    if (const std::optional<TProgramCall> call = EditorFromSetting(preset))
        start = QFileInfo(call->Program).isAbsolute() ? call->Program
                                                      : QStandardPaths::findExecutable(call->Program);
    if (QFileInfo(start).isFile()) {
        dialog.setDirectory(QFileInfo(start).absolutePath());
        dialog.selectFile(QFileInfo(start).fileName());
    } else if (QFileInfo(start).isDir()) {
        dialog.setDirectory(start);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}

bool TUserInterface::Print(QWidget* parent, QPrinter& printer) {
    return QPrintDialog(&printer, parent).exec() == QDialog::Accepted;
}

bool TUserInterface::PageSetup(QWidget* parent, QPrinter& printer) {
    return QPageSetupDialog(&printer, parent).exec() == QDialog::Accepted;
}

bool TUserInterface::ReportChoices(QWidget* parent, TReportChoices& choices) {
    QDialog dialog(parent);
    dialog.setWindowTitle("Export Report");
    auto* form = new QFormLayout(&dialog);
    auto* paper = new QComboBox(&dialog);
    paper->addItems({"A4", "Letter"});
    paper->setCurrentIndex(choices.letter ? 1 : 0);
    form->addRow("&Paper:", paper);
    auto* nodes = new QCheckBox("Append the &node results of every case", &dialog);
    nodes->setChecked(choices.nodeAppendix);
    form->addRow(nodes);
    const struct {
        const char *name, *caption;
        QString* text;
    } job[] = {{"edJobNumber", "Job &number:", &choices.jobNumber}, {"edJobTitle", "Job &title:", &choices.jobTitle},
               {"edEngineer", "&Engineer:", &choices.engineer},     {"edChecker", "&Checker:", &choices.checker},
               {"edRevision", "&Revision:", &choices.revision}};
    std::vector<QLineEdit*> jobEdits;
    for (const auto& field : job) {
        auto* edit = new QLineEdit(*field.text, &dialog);
        edit->setObjectName(field.name);
        edit->setMaxLength(static_cast<int>(kMaxJobTextBytes));
        form->addRow(field.caption, edit);
        jobEdits.push_back(edit);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted) return false;
    choices.letter = paper->currentIndex() == 1;
    choices.nodeAppendix = nodes->isChecked();
    for (size_t i = 0; i < jobEdits.size(); ++i) *job[i].text = jobEdits[i]->text().simplified();
    return true;
}

}  // namespace torvex

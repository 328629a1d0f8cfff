#pragma once
// The small dialogs of loads and options: the additional surcharge, the springs and the
// concentrated loads (each switched on or off and edited in its table), the project title
// and the external text editor.

#include <QString>
#include <cstdint>
#include <functional>
#include <string>

#include "dialogs/InputDialog.h"

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace torvex {

// "Additional Surcharge": a picture and the button that opens the surcharge table. It keeps
// no value of its own.
class TDlgRebar : public TInputDialog {
    Q_OBJECT
public:
    TDlgRebar(TWorkspace& workspace, QMdiArea* desk, QWidget* parent = nullptr);
    QPushButton* btnSurcharge;

protected:
    void FormActivate() override {}
    void CopyOut() override {}
};

// A load switched on or off by a check box, with a button that opens its table; the button
// works only while the box is checked, and unchecking the box closes the table's window.
class TSwitchDialog : public TInputDialog {
    Q_OBJECT
public:
    struct TParts {
        const char* name;
        QString caption;
        QString picture;
        const char* checkName;
        QString checkCaption;
        const char* buttonName;
        QString buttonCaption;
        uint8_t TProgramData::*flag;
        const char* table;
    };
    TSwitchDialog(TWorkspace& workspace, QMdiArea* desk, const TParts& parts,
                  QWidget* parent = nullptr);
    QCheckBox* Check() const { return check_; }
    QPushButton* Button() const { return button_; }

protected:
    void FormActivate() override;
    void CopyOut() override;

private:
    void CheckClick();

    QCheckBox* check_;
    QPushButton* button_;
    uint8_t TProgramData::*flag_;
    std::string table_;
};

// "Lateral & Rotational Springs": the switch UseSprings and the table SoilStrength.
TSwitchDialog* NewDlgSpring(TWorkspace& workspace, QMdiArea* desk);
// "Concentrated Loads": the switch UseConcentratedLoads and the table BoundCond.
TSwitchDialog* NewDlgConLoads(TWorkspace& workspace, QMdiArea* desk);

// "Project Title": one line of at most 80 characters.
class TdlgTitle : public TInputDialog {
    Q_OBJECT
public:
    static constexpr int kMaxTitle = 80;
    TdlgTitle(TWorkspace& workspace, QMdiArea* desk, QWidget* parent = nullptr);
    QLineEdit* TitleMemo;

protected:
    void FormActivate() override;
    void CopyOut() override;

private:
    // The title as the field showed it: a stored title that the field cannot show as it is
    // (longer than kMaxTitle, or not UTF-8) changes only when the user edits it.
    QString shown_;
};

// "Control Options": the text editor the output files are shown in. The setting belongs to
// the main window, reached through `get` and `set`.
class TDlgOptions : public TInputDialog {
    Q_OBJECT
public:
    TDlgOptions(TWorkspace& workspace, QMdiArea* desk, std::function<QString()> get,
                std::function<void(const QString&)> set, QWidget* parent = nullptr);
    QLineEdit* EdtWord;
    QPushButton* BtnBrowse;

protected:
    void FormActivate() override;
    void CopyOut() override;

private:
    void BtnBrowseClick();
    std::function<QString()> get_;
    std::function<void(const QString&)> set_;
};

}  // namespace torvex

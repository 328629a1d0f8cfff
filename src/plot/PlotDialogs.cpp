#include "plot/PlotDialogs.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>
#include <new>

#include "dataentry/DataEdit.h"
#include "desktop/UserInterface.h"
#include "plot/PlotDialogRules.h"

namespace torvex {
namespace {

constexpr const char* kUnnamedLine = "The line must have a name!";

TDataEdit* Field(QWidget* parent, const char* name, const QString& caption, long double value,
                 long double minimum, QFormLayout* form) {
    auto* field = new TDataEdit(parent);
    field->setObjectName(name);
    auto* label = new QLabel(parent);
    field->SetEditLabel(label);
    field->SetCaption(caption);
    field->SetMinVal(minimum);
    field->SetNumber(value);
    form->addRow(label, field);
    return field;
}

QPushButton* Button(QWidget* parent, const char* name, const QString& text) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    return button;
}

QString State(const QString& state) { return state == kCurveActive ? state : QString(kCurveInactive); }

}  // namespace

// ---- Save Attributes ----

TdlgFormat::TdlgFormat(QImage& bitmap, QWidget* parent) : QDialog(parent), bitmap_(bitmap) {
    setObjectName("dlgFormat");
    setWindowTitle("Save Attributes");
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    auto* form = new QFormLayout;
    deHeight = Field(this, "deHeight", "&Height (in)", 4, 2, form);
    deWidth = Field(this, "deWidth", "&Width (in)", 6, 2, form);
    dePPI = Field(this, "dePPI", "&Pixels Per Inch", 72, 10, form);
    dePPI->SetIntegerOnly(true);
    dePPI->SetMinVal(10);
    dePPI->SetNumber(72);
    auto* colours = new QGroupBox("Colors", this);
    auto* column = new QVBoxLayout(colours);
    rbBW = new QRadioButton("Black and White", colours);
    rb256 = new QRadioButton("256 Colors", colours);
    rbHigh = new QRadioButton("High Color (16 bit)", colours);
    rbTrue = new QRadioButton("True Color (24 bit)", colours);
    rb16 = new QRadioButton("16 Colors", colours);
    for (auto [button, name] : {std::pair{rbBW, "rbBW"}, {rb256, "rb256"}, {rbHigh, "rbHigh"},
                                {rbTrue, "rbTrue"}, {rb16, "rb16"}}) {
        button->setObjectName(name);
        column->addWidget(button);
    }
    rb16->setChecked(true);
    btnOK = Button(this, "btnOK", "OK");
    btnOK->setDefault(true);
    btnCancel = Button(this, "btnCancel", "Cancel");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(colours);
    layout->addLayout(buttons);
    connect(btnOK, &QPushButton::clicked, this, &TdlgFormat::OKClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TdlgFormat::OKClick() {
    for (TDataEdit* field : {deHeight, deWidth, dePPI})
        if (!ValidateField(field)) return;
    const auto [width, height] =
        BitmapPixels(static_cast<double>(dePPI->Number()), static_cast<double>(deWidth->Number()),
                     static_cast<double>(deHeight->Number()));
    // The colour choice does not change the bitmap, which keeps the display's depth.
    QImage resized;
    try {
        if (width > 0 && height > 0) resized = QImage(width, height, bitmap_.isNull() ? QImage::Format_RGB32 : bitmap_.format());
    } catch (const std::bad_alloc&) {
        resized = QImage();
    }
    if (resized.isNull()) {
        done(kAbortResult);
        return;
    }
    bitmap_ = resized;
    accept();
}

// ---- Graph Caption ----

TfrmGraphCaption::TfrmGraphCaption(QWidget* parent) : QDialog(parent) {
    setObjectName("frmGraphCaption");
    setWindowTitle("Graph Caption");
    auto* label = new QLabel("Enter Graph Caption", this);
    edtCaption = new QLineEdit(this);
    edtCaption->setObjectName("edtCaption");
    edtCaption->setMinimumWidth(edtCaption->fontMetrics().horizontalAdvance(QString(40, 'n')));
    auto* location = new QGroupBox("Caption Location", this);
    auto* row = new QHBoxLayout(location);
    rbTop = new QRadioButton("Top", location);
    rbTop->setObjectName("rbTop");
    rbBottom = new QRadioButton("Bottom", location);
    rbBottom->setObjectName("rbBottom");
    row->addWidget(rbTop);
    row->addWidget(rbBottom);
    rbTop->setChecked(true);
    btnOK = Button(this, "btnOK", "&OK");
    btnOK->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(edtCaption);
    layout->addWidget(location);
    layout->addWidget(btnOK, 0, Qt::AlignRight);
    // A single border: the dialog keeps the size of its contents.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setWindowFlags(windowFlags() | Qt::MSWindowsFixedSizeDialogHint);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
}

// ---- Legend ----

TfrmLineNames::TfrmLineNames(QStringList& labels, std::function<QColor(int)> colour, QWidget* parent)
    : QDialog(parent), labels_(labels), colour_(std::move(colour)) {
    setObjectName("frmLineNames");
    setWindowTitle("Legend");
    // The system menu and its close box only: no minimise, maximise or help button.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setMinimumSize(195, 167);
    lblSelect = new QLabel("Select line to modify:", this);
    lbLines = new QListWidget(this);
    lbLines->setObjectName("lbLines");
    lblType = new QLabel("Type new legend below:", this);
    edLine = new QLineEdit(this);
    edLine->setObjectName("edLine");
    edLine->setStyleSheet("QLineEdit { background: white; }");
    btnOK = Button(this, "btnOK", "&OK");
    btnCancel = Button(this, "btnCancel", "&Cancel");
    for (QPushButton* button : {btnOK, btnCancel}) {
        button->setFocusPolicy(Qt::ClickFocus);
        button->setAutoDefault(false);
    }
    lbLines->addItems(labels_);
    if (lbLines->count() > 0) lbLines->setCurrentRow(0);
    ShowSelected();
    connect(lbLines, &QListWidget::currentRowChanged, this, [this] { ShowSelected(); });
    connect(lbLines, &QListWidget::itemDoubleClicked, this, [this] { ShowSelected(); });
    connect(edLine, &QLineEdit::returnPressed, this, [this] { TakeText(); });
    connect(edLine, &QLineEdit::editingFinished, this, [this] {
        if (!edLine->hasFocus()) TakeText();  // left for another control
    });
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    resize(260, 260);
}

void TfrmLineNames::ShowSelected() {
    const int row = lbLines->currentRow();
    if (row < 0) return;
    edLine->setText(lbLines->item(row)->text());
    QPalette palette = edLine->palette();
    palette.setColor(QPalette::Text, colour_ ? colour_(row) : QColor(Qt::black));
    edLine->setPalette(palette);
}

bool TfrmLineNames::TakeText() {
    const int row = lbLines->currentRow();
    if (row < 0 || refusing_) return true;
    if (edLine->text().isEmpty()) {
        refusing_ = true;
        UserInterface().Information(this, kUnnamedLine);
        refusing_ = false;
        edLine->setText(lbLines->item(row)->text());
        return false;
    }
    lbLines->item(row)->setText(edLine->text());
    return true;
}

void TfrmLineNames::CopyBack() {
    for (int row = 0; row < lbLines->count() && row < labels_.size(); ++row)
        labels_[row] = lbLines->item(row)->text();
}

void TfrmLineNames::done(int result) {
    // OK takes a text typed and not yet entered, as leaving the edit box would.
    if (result == Accepted && edLine->text() != (lbLines->currentItem() ? lbLines->currentItem()->text() : QString()))
        TakeText();
    CopyBack();
    QDialog::done(result);
}

void TfrmLineNames::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Centred on the screen, whatever window it serves.
    if (QScreen* shown = screen()) {
        const QRect frame = frameGeometry();
        move(pos() + shown->geometry().center() - frame.center());
    }
}

void TfrmLineNames::closeEvent(QCloseEvent* event) {
    CopyBack();
    QDialog::closeEvent(event);
}

void TfrmLineNames::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    const int width = this->width() - 20;
    const int labelHeight = lblSelect->sizeHint().height();
    const int editHeight = edLine->sizeHint().height();
    const int buttonHeight = btnOK->sizeHint().height();
    int y = 5;
    lblSelect->setGeometry(10, y, width, labelHeight);
    y += labelHeight + 5;
    const int listHeight = std::max(20, height() - 2 * labelHeight - editHeight - buttonHeight - 40);
    lbLines->setGeometry(10, y, width, listHeight);
    y += listHeight + 5;
    lblType->setGeometry(10, y, width, labelHeight);
    y += labelHeight + 5;
    edLine->setGeometry(10, y, width, editHeight);
    y += editHeight + 5;
    const int buttonWidth = btnOK->sizeHint().width();
    btnOK->setGeometry(20, y, buttonWidth, buttonHeight);
    btnCancel->setGeometry(this->width() - 20 - buttonWidth, y, buttonWidth, buttonHeight);
}

// ---- Active Curves ----

TfrmActiveLines::TfrmActiveLines(const QStringList& labels, QStringList& states, QWidget* parent)
    : QDialog(parent), labels_(labels), states_(states) {
    setObjectName("frmActiveLines");
    setWindowTitle("Active Curves");
    setMinimumSize(190, 234);
    lblSelect = new QLabel("Select Curve to Active/Desactive", this);
    lblActive = new QLabel("Active :", this);
    lblCurve = new QLabel("Curve", this);
    lbLines = new QListWidget(this);
    lbLines->setObjectName("lbLines");
    lbLines->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ActivateDesactivateButton = Button(this, "ActivateDesactivateButton", "Activate/Desactivate Selected");
    ActivateButton = Button(this, "ActivateButton", "Activate All");
    DesactivateButton = Button(this, "DesactivateButton", "Desactivate All");
    btnOK = Button(this, "btnOK", "&OK");
    btnCancel = Button(this, "btnCancel", "&Cancel");
    while (states_.size() < labels_.size()) states_ << kCurveActive;
    for (int row = 0; row < labels_.size(); ++row) {
        states_[row] = State(states_[row]);
        lbLines->addItem(QString());
        Rebuild(row);
    }
    if (lbLines->count() > 0) lbLines->setCurrentRow(0);
    connect(lbLines, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { Toggle(lbLines->row(item)); });
    connect(ActivateDesactivateButton, &QPushButton::clicked, this, [this] {
        for (int row = 0; row < lbLines->count(); ++row)
            if (lbLines->item(row)->isSelected()) Toggle(row);
    });
    connect(ActivateButton, &QPushButton::clicked, this, [this] { SetAll(kCurveActive); });
    connect(DesactivateButton, &QPushButton::clicked, this, [this] { SetAll(kCurveInactive); });
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    resize(std::max(260, ActivateDesactivateButton->sizeHint().width() + 40), 300);
}

void TfrmActiveLines::Toggle(int row) {
    if (row < 0 || row >= states_.size()) return;
    states_[row] = QString::fromStdString(ToggledCurveState(states_[row].toStdString()));
    Rebuild(row);
}

void TfrmActiveLines::SetAll(const char* state) {
    for (int row = 0; row < states_.size(); ++row) {
        states_[row] = state;
        Rebuild(row);
    }
}

void TfrmActiveLines::Rebuild(int row) {
    if (row < 0 || row >= lbLines->count()) return;
    lbLines->item(row)->setText(QString::fromStdString(
        ActiveCurveEntry(states_[row].toStdString(), labels_.value(row).toStdString())));
}

void TfrmActiveLines::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    const int width = this->width() - 20;
    const int labelHeight = lblSelect->sizeHint().height();
    const int buttonHeight = btnOK->sizeHint().height();
    int y = 5;
    lblSelect->setGeometry(10, y, width, labelHeight);
    y += labelHeight + 5;
    lblActive->setGeometry(10, y, lblActive->sizeHint().width(), labelHeight);
    lblCurve->setGeometry(10 + lblActive->sizeHint().width() + 20, y, width / 2, labelHeight);
    y += labelHeight + 10;
    const int listHeight = std::max(20, height() - 2 * labelHeight - 3 * buttonHeight - 50 - 30);
    lbLines->setGeometry(10, y, width, listHeight);
    y += listHeight + 10;
    ActivateDesactivateButton->setGeometry(15, y, width - 10, buttonHeight);
    y += buttonHeight + 10;
    const int half = (width - 10) / 2;
    ActivateButton->setGeometry(10, y, half, buttonHeight);
    DesactivateButton->setGeometry(this->width() - 10 - half, y, half, buttonHeight);
    y += buttonHeight + 10;
    const int buttonWidth = btnOK->sizeHint().width();
    btnOK->setGeometry(20, y, buttonWidth, buttonHeight);
    btnCancel->setGeometry(this->width() - 20 - buttonWidth, y, buttonWidth, buttonHeight);
}

}  // namespace torvex

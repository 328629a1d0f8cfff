#include "dataentry/TableForm.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>
#include <QStyleOptionHeader>
#include <QStyledItemDelegate>
#include <QSvgRenderer>
#include <QTimer>
#include <algorithm>
#include <exception>
#include <vector>

#include "dataentry/Evaluator.h"
#include "dataentry/TableSnapping.h"
#include "desktop/UserInterface.h"
#include "project/Workspace.h"

namespace torvex {
namespace {

constexpr int kMostRowsAtFirst = 10;
constexpr int kButtonWidth = 81;
constexpr int kButtonHeight = 21;

// The Qt widget behind an embedded cell control.
class TQtCellWidget {
public:
    virtual ~TQtCellWidget() = default;
    virtual QWidget* Widget() const = 0;
};

// Calls a function when the watched widget receives the focus.
class TFocusWatcher : public QObject {
public:
    TFocusWatcher(QObject* parent, std::function<void()> onFocusIn)
        : QObject(parent), OnFocusIn(std::move(onFocusIn)) {}
    std::function<void()> OnFocusIn;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::FocusIn && OnFocusIn) OnFocusIn();
        return false;
    }
};

// Runs a model callback from a Qt signal: no exception may leave an event handler, so a
// failure is shown to the user instead.
template <typename F>
void Guarded(QWidget* parent, F&& action) {
    try {
        action();
    } catch (const std::exception& error) {
        UserInterface().Information(parent, QString::fromStdString(error.what()));
    }
}

class TQtComboBox : public TComboBoxControl, public TQtCellWidget {
public:
    TQtComboBox(QWidget* parent, TTableForm* form) : box_(new QComboBox(parent)), form_(form) {
        box_->setObjectName("CellComboBox");
        box_->hide();
        QObject::connect(box_, &QComboBox::activated, box_, [this](int index) {
            Guarded(form_, [&] {
                TComboBoxControl::SetItemIndex(index);
                if (form_ && form_->Table()) form_->Table()->SetChanged(true);
                if (OnChange) OnChange(*this);
            });
        });
        watcher_ = new TFocusWatcher(box_, [this] {
            Guarded(form_, [&] {
                if (OnEnter) OnEnter(*this);
            });
        });
        box_->installEventFilter(watcher_);
    }
    ~TQtComboBox() override {
        if (!box_) return;
        watcher_->OnFocusIn = nullptr;
        box_->disconnect();
        box_->hide();
        box_->deleteLater();  // may be running its own signal right now
    }
    QWidget* Widget() const override { return box_; }
    void SetItems(const std::vector<std::string>& items) override {
        TComboBoxControl::SetItems(items);
        if (!box_) return;
        box_->clear();
        for (const std::string& item : items) box_->addItem(QString::fromStdString(item));
    }
    void SetItemIndex(int index) override {
        TComboBoxControl::SetItemIndex(index);
        if (box_) box_->setCurrentIndex(index);
    }
    void SetDropDownCount(int count) override {
        TComboBoxControl::SetDropDownCount(count);
        if (box_) box_->setMaxVisibleItems(count);
    }
    void SetVisible(bool visible) override {
        TComboBoxControl::SetVisible(visible);
        if (box_) box_->setVisible(visible);
    }

private:
    QPointer<QComboBox> box_;
    QPointer<TTableForm> form_;
    TFocusWatcher* watcher_ = nullptr;
};

class TQtButton : public TButtonControl, public TQtCellWidget {
public:
    TQtButton(QWidget* parent, TTableForm* form) : button_(new QPushButton(parent)), form_(form) {
        button_->setObjectName("CellButton");
        button_->setAutoDefault(false);
        button_->hide();
        QObject::connect(button_, &QPushButton::clicked, button_, [this] {
            Guarded(form_, [&] {
                if (OnClick) OnClick(*this);
            });
        });
    }
    ~TQtButton() override {
        if (!button_) return;
        button_->disconnect();
        button_->hide();
        button_->deleteLater();
    }
    QWidget* Widget() const override { return button_; }
    void SetCaption(const std::string& caption) override {
        TButtonControl::SetCaption(caption);
        if (button_) button_->setText(QString::fromStdString(caption));
    }
    void SetVisible(bool visible) override {
        TButtonControl::SetVisible(visible);
        if (button_) button_->setVisible(visible);
    }

private:
    QPointer<QPushButton> button_;
    QPointer<TTableForm> form_;
};

}  // namespace

// Keeps track of the open cell editor and turns Enter into the window's move.
class TCellDelegate : public QStyledItemDelegate {
public:
    TCellDelegate(TTableForm& form, QObject* parent) : QStyledItemDelegate(parent), form_(form) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        editor_ = qobject_cast<QLineEdit*>(editor);
        lastEditor_ = editor;
        index_ = index;
        return editor;
    }
    void destroyEditor(QWidget* editor, const QModelIndex& index) const override {
        if (editor == editor_) editor_ = nullptr;
        QStyledItemDelegate::destroyEditor(editor, index);
    }
    QLineEdit* Editor() const { return editor_; }
    // The editor last made, even while it is being closed (it loses the focus first).
    QWidget* LastEditor() const { return lastEditor_; }
    QModelIndex Index() const { return index_; }

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                form_.MoveOnEnter();
                return true;
            }
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    TTableForm& form_;
    mutable QPointer<QLineEdit> editor_;
    mutable QPointer<QWidget> lastEditor_;
    mutable QPersistentModelIndex index_;
};

// ---- TTableGrid ----

TTableGrid::TTableGrid(TTableForm& form) : QTableWidget(&form), form_(form) {}

void TTableGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    // The base class hands the open editor's text to the item it edited and opens the
    // editor of the new cell; the window then decides whether the move stands.
    QTableWidget::currentChanged(current, previous);
    form_.GridCurrentChanged(current, previous);
}

void TTableGrid::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        form_.MoveOnEnter();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

// ---- TTableForm ----

TTableForm::TTableForm(TGridTable& table, QMdiArea* desk) : table_(&table), desk_(desk) {
    setObjectName("TableForm");
    setWindowTitle("TableForm");
    margin_ = std::max(1, logicalDpiX() / 20);

    grid_ = new TTableGrid(*this);
    grid_->setObjectName("Grid");
    delegate_ = new TCellDelegate(*this, grid_);
    grid_->setItemDelegate(delegate_);
    grid_->setSelectionMode(QAbstractItemView::ContiguousSelection);
    grid_->setEditTriggers(QAbstractItemView::AllEditTriggers);
    grid_->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    grid_->setHorizontalScrollMode(QAbstractItemView::ScrollPerItem);
    grid_->setWordWrap(false);
    grid_->setCornerButtonEnabled(false);
    grid_->setTabKeyNavigation(true);
    {
        QComboBox probe;
        QPushButton probeButton("1: Sand");
        rowHeight_ = std::max({24, probe.sizeHint().height(), probeButton.sizeHint().height(),
                               fontMetrics().height() + 6});
    }
    QHeaderView* rows = grid_->verticalHeader();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(rowHeight_);
    rows->setDefaultAlignment(Qt::AlignCenter);
    QHeaderView* columns = grid_->horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Fixed);
    columns->setMinimumSectionSize(1);
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignTop);
    columns->setHighlightSections(false);
    rows->setHighlightSections(false);
    corner_ = grid_->findChild<QAbstractButton*>();
    if (corner_) corner_->installEventFilter(this);
    grid_->installEventFilter(this);

    auto makeButton = [this](const char* name, const char* text) {
        auto* button = new QPushButton(tr(text), this);
        button->setObjectName(name);
        button->setAutoDefault(false);
        // The declared size, unless the platform's font needs more for the text.
        const QSize hint = button->sizeHint();
        button->setFixedSize(std::max(kButtonWidth, hint.width()),
                             std::max(kButtonHeight, std::min(hint.height(), 25)));
        return button;
    };
    btnAdd_ = makeButton("BtnAdd", "&Add Row");
    btnIns_ = makeButton("BtnIns", "&Insert Row");
    btnDel_ = makeButton("BtnDel", "&Delete Row");
    connect(btnAdd_, &QPushButton::clicked, this, [this] { Guarded(this, [this] { AddRow(); }); });
    connect(btnIns_, &QPushButton::clicked, this, [this] { Guarded(this, [this] { InsertRow(); }); });
    connect(btnDel_, &QPushButton::clicked, this, [this] { Guarded(this, [this] { DeleteRow(); }); });

    lblComments_ = new QLabel(this);
    lblComments_->setObjectName("lblComments");
    lblComments_->hide();
    imgHelp_ = new QLabel(this);
    imgHelp_->setObjectName("imgHelp");

    connect(grid_->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (scrollAttached_ && !layingOut_) PlaceControls();
    });
    connect(grid_->horizontalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (scrollAttached_ && !layingOut_) LayOut();
    });
    focusConnection_ = connect(qApp, &QApplication::focusChanged, this,
                               [this](QWidget* old, QWidget* now) { FocusChanged(old, now); });
}

TTableForm::~TTableForm() {
    // The grid gives up the focus while QWidget destroys it, after this object's own part is
    // gone: stop listening first.
    disconnect(focusConnection_);
    Detach();
}

QWidget* TTableForm::Frame() const {
    if (sub_) return sub_.data();
    return const_cast<TTableForm*>(this);
}

QString TTableForm::CaptionOf(const TGridTable& table) {
    std::vector<int> numbers;
    for (const TGridTable* level = &table; level; level = level->Owner())
        numbers.push_back(level->Number());
    QString caption = QString::fromStdString(table.Caption) + " ";
    for (auto it = numbers.rbegin(); it != numbers.rend(); ++it)
        if (*it != 0) caption += " " + QString::number(*it);
    return caption;
}

// ---- TTableEditor ----

void TTableForm::ShowEditor(bool modal) {
    if (!table_) return;
    QPointer<TTableForm> self(this);
    if (!shown_) {
        auto* host = static_cast<QWidget*>(table_->FormParent);
        if (modal) {
            modal_ = true;
            setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
            setWindowModality(Qt::ApplicationModal);
            setAttribute(Qt::WA_DeleteOnClose);
        } else if (host) {
            setParent(host, Qt::Widget);
            move(0, 0);
        } else if (desk_) {
            sub_ = desk_->addSubWindow(this, Qt::SubWindow | Qt::WindowTitleHint |
                                                 Qt::WindowSystemMenuHint |
                                                 Qt::WindowMinimizeButtonHint |
                                                 Qt::WindowCloseButtonHint);
            sub_->setAttribute(Qt::WA_DeleteOnClose);
            // Brought back to the front, the window takes typing in its current cell.
            connect(desk_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* active) {
                if (active && active == sub_) FocusCurrentCellLater();
            });
        } else {
            setAttribute(Qt::WA_DeleteOnClose);
        }
        FormShow();
    }
    if (sub_) {
        sub_->showNormal();
        desk_->setActiveSubWindow(sub_);
        // Already the active child, the window is not activated again.
        FocusCurrentCellLater();
    } else {
        show();
        raise();
        activateWindow();
    }
    if (modal && !modalLoop_) {
        QEventLoop loop;
        modalLoop_ = &loop;
        loop.exec();
        if (self) self->modalLoop_ = nullptr;
    }
}

void TTableForm::ResetCaption() {
    if (!table_) return;
    const QString caption = CaptionOf(*table_);
    setWindowTitle(caption);
    if (sub_) sub_->setWindowTitle(caption);
}

void TTableForm::HelpPictureChanged() {
    LoadPicture();
    if (shown_) LayOut();
}

void TTableForm::FocusCell(int column, int row) {
    if (!table_ || column < 0 || column >= table_->ColumnCount()) return;
    const int k = table_->VisibleIndexOf(table_->Columns(column));
    if (k < 0 || row < 0 || row >= grid_->rowCount()) return;
    allowControlCell_ = true;
    grid_->setCurrentCell(row, k);
    allowControlCell_ = false;
}

void TTableForm::CloseAndFree() {
    Detach();
    GoAway();
}

void TTableForm::TableDestroyed() {
    table_ = nullptr;  // the table has detached this window already
    GoAway();
}

void TTableForm::GoAway() {
    if (modalLoop_) modalLoop_->quit();
    QWidget* frame = Frame();
    frame->hide();
    frame->deleteLater();
}

// ---- TControlHost ----

std::unique_ptr<TComboBoxControl> TTableForm::CreateComboBox() {
    return std::make_unique<TQtComboBox>(grid_->viewport(), this);
}

std::unique_ptr<TButtonControl> TTableForm::CreateButton() {
    return std::make_unique<TQtButton>(grid_->viewport(), this);
}

// ---- Showing, binding, closing ----

void TTableForm::FormShow() {
    table_->AttachEditor(this);
    table_->SetRowCount(std::max(table_->RowCount(), table_->MinRows()));
    ResetCaption();

    const QString topLeft = QString::fromStdString(table_->TopLeft);
    if (corner_) corner_->setText(topLeft);
    grid_->verticalHeader()->setMinimumWidth(
        std::max(fontMetrics().horizontalAdvance(topLeft + "  "), logicalDpiX() / 3));

    QString comments = QString::fromStdString(table_->Comments);
    comments.replace("\r\n", "\n").replace('\r', '\n');
    lblComments_->setText(comments);
    lblComments_->setVisible(!comments.isEmpty());
    LoadPicture();

    shownColumns_ = table_->VisibleColumnCount();
    shownRows_ = std::min(table_->RowCount(), kMostRowsAtFirst);
    Bind();
    shown_ = true;
    Refresh();

    const int first = FirstTextColumn(0);
    if (first >= 0 && grid_->rowCount() > 0) {
        refreshing_ = true;
        grid_->setCurrentCell(0, first);
        refreshing_ = false;
    }
}

void TTableForm::Bind() {
    table_->SetControlHost(this);
    table_->OnCellChanged = [this](int column, int row) { RefreshCell(column, row); };
    table_->OnStructureChanged = [this] { Refresh(); };
}

void TTableForm::Detach() {
    if (!table_) return;
    TGridTable* table = table_;
    table_ = nullptr;
    // Drops the embedded controls, the control host, both notifications and the editor.
    table->DetachEditor();
}

void TTableForm::closeEvent(QCloseEvent* event) {
    if (table_ && !CommitCell()) {
        event->ignore();
        return;
    }
    Detach();
    event->accept();
    if (modalLoop_) modalLoop_->quit();
    if (!sub_ && !testAttribute(Qt::WA_DeleteOnClose)) deleteLater();
}

// ---- Refresh and layout ----

void TTableForm::Refresh() {
    if (!table_ || !shown_) return;
    const int visible = table_->VisibleColumnCount();
    const int rows = table_->RowCount();
    shownColumns_ = std::min(shownColumns_, visible);
    shownRows_ = std::min(shownRows_, rows);
    headerRows_ = table_->HeaderRowCount();

    refreshing_ = true;
    grid_->setRowCount(rows);
    grid_->setColumnCount(visible);
    QStringList labels;
    for (int r = 0; r < rows; ++r) labels << QString::number(r / table_->RowGroup() + 1);
    grid_->setVerticalHeaderLabels(labels);

    const auto textWidth = [this](const std::string& text) {
        return fontMetrics().horizontalAdvance(QString::fromStdString(text));
    };
    for (int k = 0; k < visible; ++k) {
        TColumn& column = table_->VisibleColumn(k);
        grid_->setColumnWidth(k, column.MinWidth(textWidth, logicalDpiX()));
        QStringList lines;
        for (int h = 0; h < headerRows_; ++h)
            lines << (h < column.CaptionCount() ? QString::fromStdString(column.GetCaption(h))
                                                 : QString());
        auto* header = new QTableWidgetItem(lines.join('\n'));
        header->setTextAlignment(Qt::AlignLeft | Qt::AlignTop);
        grid_->setHorizontalHeaderItem(k, header);
        for (int r = 0; r < rows; ++r) {
            QTableWidgetItem* item = grid_->item(r, k);
            if (!item) {
                item = new QTableWidgetItem;
                grid_->setItem(r, k, item);
            }
            if (column.UsesControls()) {
                // Enabled, so that the row of a control can become the current row.
                item->setFlags(Qt::ItemIsEnabled);
                item->setText(QString());
            } else {
                item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable);
                item->setText(QString::fromStdString(column.GetText(r)));
            }
        }
    }
    refreshing_ = false;

    const bool rowButtons = table_->MinRows() != table_->MaxRows;
    btnAdd_->setVisible(rowButtons);
    btnIns_->setVisible(rowButtons);
    btnDel_->setVisible(rowButtons);
    btnAdd_->setEnabled(rows != table_->MaxRows);
    btnIns_->setEnabled(btnAdd_->isEnabled());
    btnDel_->setEnabled(table_->MinRows() < rows);
    LayOut();
}

void TTableForm::RefreshCell(int column, int row) {
    if (!table_ || !shown_ || column < 0 || column >= table_->ColumnCount()) return;
    TColumn& changed = table_->Columns(column);
    const int k = table_->VisibleIndexOf(changed);
    if (k < 0 || changed.UsesControls()) return;
    if (QTableWidgetItem* item = grid_->item(row, k))
        item->setText(QString::fromStdString(changed.GetText(row)));
}

void TTableForm::RewriteTextCells() {
    if (!table_) return;
    for (int k = 0; k < grid_->columnCount() && k < table_->VisibleColumnCount(); ++k) {
        TColumn& column = table_->VisibleColumn(k);
        if (column.UsesControls()) continue;
        for (int r = 0; r < grid_->rowCount() && r < column.RowDataCount(); ++r)
            if (QTableWidgetItem* item = grid_->item(r, k))
                item->setText(QString::fromStdString(column.GetText(r)));
    }
}

int TTableForm::TopDataRow() const { return std::max(0, grid_->verticalScrollBar()->value()); }

int TTableForm::LeftDataColumn() const {
    return std::max(0, grid_->horizontalScrollBar()->value());
}

int TTableForm::FirstTextColumn(int from) const {
    if (!table_) return -1;
    for (int k = std::max(from, 0); k < table_->VisibleColumnCount(); ++k)
        if (!table_->VisibleColumn(k).UsesControls()) return k;
    return -1;
}

void TTableForm::LoadPicture() {
    QPixmap picture;
    if (table_ && !table_->HelpPicture().empty()) {
        // Vector art, drawn for the screen's pixel ratio; else a JPEG of that name.
        const QString base = ":/pictures/" + QString::fromStdString(table_->HelpPicture());
        QSvgRenderer svg(base + ".svg");
        if (svg.isValid()) {
            const qreal ratio = devicePixelRatioF();
            picture = QPixmap(svg.defaultSize() * ratio);
            picture.setDevicePixelRatio(ratio);
            picture.fill(Qt::white);
            QPainter painter(&picture);
            svg.render(&painter, QRectF(QPointF(0, 0), QSizeF(svg.defaultSize())));
        } else {
            picture.load(base + ".jpg");
        }
    }
    if (picture.isNull()) {
        imgHelp_->clear();
        imgHelp_->resize(0, 0);
        imgHelp_->hide();
    } else {
        imgHelp_->setPixmap(picture);
        imgHelp_->resize(picture.deviceIndependentSize().toSize());
        imgHelp_->show();
    }
}

void TTableForm::LayOut() {
    if (!table_ || !shown_ || layingOut_) return;
    layingOut_ = true;
    const int visible = table_->VisibleColumnCount();
    const int rows = table_->RowCount();
    const bool verticalBar = shownRows_ < rows;
    const bool horizontalBar = shownColumns_ < visible;
    grid_->setVerticalScrollBarPolicy(verticalBar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    grid_->setHorizontalScrollBarPolicy(horizontalBar ? Qt::ScrollBarAlwaysOn
                                                      : Qt::ScrollBarAlwaysOff);

    const int frame = 2 * grid_->frameWidth();
    QHeaderView* rowHeader = grid_->verticalHeader();
    QHeaderView* columnHeader = grid_->horizontalHeader();
    const int labelWidth = std::max(rowHeader->minimumWidth(), rowHeader->sizeHint().width());
    const int headerHeight =
        std::max(columnHeader->minimumHeight(), columnHeader->sizeHint().height());
    const int left = std::clamp(LeftDataColumn(), 0, std::max(0, visible - shownColumns_));
    int width = frame + labelWidth;
    for (int k = left; k < left + shownColumns_ && k < visible; ++k) width += grid_->columnWidth(k);
    if (verticalBar) width += grid_->verticalScrollBar()->sizeHint().width();
    int height = frame + headerHeight + shownRows_ * rowHeight_;
    if (horizontalBar) height += grid_->horizontalScrollBar()->sizeHint().height();
    grid_->setGeometry(margin_, margin_, width, height);
    grid_->UpdateScrollRanges();

    const int buttonsTop = grid_->geometry().bottom() + 1 + margin_;
    btnAdd_->move(margin_, buttonsTop);
    btnIns_->move(btnAdd_->geometry().right() + 1 + margin_, buttonsTop);
    btnDel_->move(btnIns_->geometry().right() + 1 + margin_, buttonsTop);
    int labelTop = buttonsTop;
    if (btnAdd_->isVisibleTo(this)) labelTop += btnAdd_->height() + margin_;
    lblComments_->adjustSize();
    lblComments_->move(margin_, labelTop);
    int pictureTop = labelTop;
    if (lblComments_->isVisibleTo(this)) pictureTop += lblComments_->height() + margin_;
    imgHelp_->move(margin_, pictureTop);
    int clientHeight = pictureTop;
    if (imgHelp_->height() > 0) clientHeight += imgHelp_->height() + margin_;

    // The comments and the picture are not cut off: the window is as wide as they are.
    int clientWidth = std::max(grid_->geometry().right(), btnDel_->geometry().right()) + 1;
    if (lblComments_->isVisibleTo(this))
        clientWidth = std::max(clientWidth, lblComments_->geometry().right() + 1);
    if (imgHelp_->width() > 0) clientWidth = std::max(clientWidth, imgHelp_->geometry().right() + 1);
    clientWidth += margin_;

    contentSize_ = QSize(clientWidth, clientHeight);
    setMinimumSize(0, 0);
    updateGeometry();
    resize(contentSize_);
    if (sub_) {
        if (sub_->layout()) sub_->layout()->invalidate();
        sub_->resize(sub_->sizeHint());
        resize(contentSize_);
    }
    if (left != LeftDataColumn()) grid_->horizontalScrollBar()->setValue(left);
    PlaceControls();
    lastFrame_ = sub_ ? sub_->geometry() : geometry();
    layingOut_ = false;
    if (table_->OnResize) table_->OnResize(*table_);
}

void TTableForm::PlaceControls() {
    if (!table_ || !shown_) return;
    const int rows = table_->RowCount();
    const int count = std::min(shownRows_, rows);
    if (count <= 0) return;
    const int top = std::clamp(TopDataRow(), 0, rows - count);
    const int leftColumn = LeftDataColumn();
    for (int k = 0; k < table_->VisibleColumnCount(); ++k) {
        TColumn& column = table_->VisibleColumn(k);
        if (!column.UsesControls()) continue;
        column.AllocateControls(this, top, count);
        // Columns scroll whole: the shown ones are ShownColumns from the left data column.
        const bool columnShown = k >= leftColumn && k < leftColumn + shownColumns_;
        for (int i = 0; i < column.ControlCount(); ++i) {
            TCellControl* control = column.GetControl(i);
            auto* widget = dynamic_cast<TQtCellWidget*>(control);
            if (!widget || !widget->Widget()) continue;
            if (!columnShown) {
                control->SetVisible(false);
                continue;
            }
            const QRect cell = grid_->visualRect(grid_->model()->index(top + i, k));
            widget->Widget()->setGeometry(cell.adjusted(0, 0, -1, -1));
            control->SetVisible(true);
        }
    }
}

QSize TTableForm::sizeHint() const {
    return contentSize_.isValid() ? contentSize_ : QWidget::sizeHint();
}

void TTableForm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!table_ || !shown_ || layingOut_ || size() == contentSize_) return;
    Snap();
}

// The user dragged the border: of the four layouts (with and without each scroll bar) the
// one closest to the dragged size wins, and the window is fitted around its whole rows and
// columns on the dragged sides.
void TTableForm::Snap() {
    const int visible = table_->VisibleColumnCount();
    const int rows = table_->RowCount();
    if (rows < 1) return;
    QWidget* window = sub_ ? static_cast<QWidget*>(sub_.data()) : this;
    const QRect now = window->geometry();

    TSnapInput in;
    in.FrameWidth = sub_ ? sub_->width() - width() : 0;
    in.FrameHeight = sub_ ? sub_->height() - height() : 0;
    in.Margin = margin_;
    // Below the grid's own bottom margin: the buttons, the label and the picture.
    in.ExtraHeight = contentSize_.height() - grid_->geometry().bottom() - 1 - margin_;
    in.ButtonSpan = btnDel_->geometry().right() + 1 - btnAdd_->geometry().left();
    in.VerticalBarWidth = grid_->verticalScrollBar()->sizeHint().width();
    in.HorizontalBarHeight = grid_->horizontalScrollBar()->sizeHint().height();
    // Qt's grid: its frame around the cells, no extra grid line (sections include it), and a
    // header as high as the header view.
    in.GridBorder = 2 * grid_->frameWidth();
    in.LineWidth = 0;
    QHeaderView* rowHeader = grid_->verticalHeader();
    QHeaderView* columnHeader = grid_->horizontalHeader();
    in.FixedColumnWidths = {std::max(rowHeader->minimumWidth(), rowHeader->sizeHint().width())};
    for (int k = 0; k < visible; ++k) in.ColumnWidths.push_back(grid_->columnWidth(k));
    in.RowHeight = rowHeight_;
    in.HeaderRows = headerRows_;
    in.HeaderHeight = std::max(columnHeader->minimumHeight(), columnHeader->sizeHint().height());
    in.RowCount = rows;
    in.LeftColumn = LeftDataColumn();
    in.ShownColumns = shownColumns_;
    in.TopRow = TopDataRow();
    in.ShownRows = shownRows_;
    in.Requested = {now.left(), now.top(), now.right() + 1, now.bottom() + 1};
    // Qt tells no dragged edges: a side moved when the size changed along it and that side
    // is no longer where it was; else the right and the bottom.
    unsigned edges = 0;
    if (lastFrame_.isValid() && now.width() != lastFrame_.width())
        edges |= now.left() != lastFrame_.left() && now.right() == lastFrame_.right() ? kSnapLeft
                                                                                      : kSnapRight;
    if (lastFrame_.isValid() && now.height() != lastFrame_.height())
        edges |= now.top() != lastFrame_.top() && now.bottom() == lastFrame_.bottom() ? kSnapTop
                                                                                      : kSnapBottom;
    in.Edges = edges ? edges : kSnapRight | kSnapBottom;

    TSnapResult result;
    try {
        result = SnapTableWindow(in);
    } catch (const std::exception& error) {
        Information(QString::fromStdString(error.what()));
        return;
    }
    shownRows_ = result.Winner.ShownRows;
    shownColumns_ = result.Winner.ShownColumns;
    scrollAttached_ = false;
    grid_->horizontalScrollBar()->setValue(result.Winner.LeftColumn);
    grid_->verticalScrollBar()->setValue(result.Winner.TopRow);
    scrollAttached_ = true;
    // Fitting the window while it is being resized would fight the resize itself.
    const QRect target(QPoint(result.Rect.Left, result.Rect.Top),
                       QPoint(result.Rect.Right - 1, result.Rect.Bottom - 1));
    const unsigned dragged = in.Edges;
    QTimer::singleShot(0, this, [this, target, dragged] {
        LayOut();
        if (!sub_) return;
        // The window keeps its undragged sides.
        QRect placed = sub_->geometry();
        if (dragged & kSnapLeft) placed.moveRight(target.right());
        else placed.moveLeft(target.left());
        if (dragged & kSnapTop) placed.moveBottom(target.bottom());
        else placed.moveTop(target.top());
        if (placed != sub_->geometry()) {
            layingOut_ = true;
            sub_->setGeometry(placed);
            layingOut_ = false;
        }
        lastFrame_ = sub_->geometry();
    });
}

bool TTableForm::eventFilter(QObject* watched, QEvent* event) {
    // The grid takes the focus without an open cell: when the window comes back after a
    // message box or from behind another window, the cell's editor has closed with the
    // window's deactivation. Typing goes into the cell again, not to the grid.
    if (watched == grid_ && event->type() == QEvent::FocusIn) FocusCurrentCellLater();
    if (watched == corner_ && event->type() == QEvent::Paint) {
        // The corner of the grid shows the table's TopLeft text.
        QStyleOptionHeader option;
        option.initFrom(corner_);
        option.rect = corner_->rect();
        option.text = corner_->text();
        option.textAlignment = Qt::AlignLeft | Qt::AlignTop;
        option.position = QStyleOptionHeader::OnlyOneSection;
        // The corner is disabled (it would select everything) but reads as a caption.
        option.state |= QStyle::State_Raised | QStyle::State_Enabled;
        option.palette.setCurrentColorGroup(QPalette::Active);
        QPainter painter(corner_);
        corner_->style()->drawControl(QStyle::CE_Header, &option, &painter, corner_);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// ---- Committing and moving ----

QLineEdit* TTableForm::CellEditor() const {
    QLineEdit* editor = delegate_->Editor();
    if (!editor || delegate_->Index() != grid_->currentIndex()) return nullptr;
    return editor;
}

void TTableForm::Information(const QString& text) {
    const bool was = committing_;
    committing_ = true;
    UserInterface().Information(this, text);
    committing_ = was;
}

bool TTableForm::CommitCell() {
    if (!table_) return true;
    const int row = grid_->currentRow();
    const int column = grid_->currentColumn();
    if (row < 0 || column < 0) return true;
    const QLineEdit* editor = CellEditor();
    const QTableWidgetItem* item = grid_->item(row, column);
    const QString text = editor ? editor->text() : item ? item->text() : QString();
    return CommitCellAt(row, column, text);
}

bool TTableForm::CommitCellAt(int row, int column, const QString& text) {
    if (!table_ || row < 0 || row >= table_->RowCount() || column < 0 ||
        column >= table_->VisibleColumnCount())
        return true;
    TColumn& target = table_->VisibleColumn(column);
    if (target.UsesControls()) return true;  // edited through its controls
    const std::string entry = text.toStdString();
    // A cell the user only passed through is not a change.
    if (entry == target.GetText(row)) return true;
    try {
        target.SetText(row, entry);
    } catch (const EAssignError& error) {
        Information(QString::fromStdString(error.what()));
        return false;
    } catch (const std::exception& error) {
        Information(QString::fromStdString(error.what()));
        return false;
    }
    if (!table_) return true;
    table_->SetChanged(true);
    RefreshCell(target.Index(), row);
    return true;
}

void TTableForm::GridCurrentChanged(const QModelIndex& current, const QModelIndex& previous) {
    if (!table_ || !shown_ || reverting_ || refreshing_) return;
    if (previous.isValid()) {
        const QTableWidgetItem* item = grid_->item(previous.row(), previous.column());
        if (!CommitCellAt(previous.row(), previous.column(), item ? item->text() : QString())) {
            // The move is refused: back to the bad cell, with its text, to correct it.
            reverting_ = true;
            grid_->setCurrentIndex(previous);
            reverting_ = false;
            FocusCurrentCell();
            return;
        }
    }
    if (!table_) return;
    if (current.isValid() && !allowControlCell_ && current.column() < table_->VisibleColumnCount() &&
        table_->VisibleColumn(current.column()).UsesControls()) {
        // Cells with controls are edited through the controls, never selected.
        reverting_ = true;
        grid_->setCurrentIndex(previous);
        reverting_ = false;
    }
    RewriteTextCells();
}

void TTableForm::MoveOnEnter() {
    if (!table_) return;
    const int row = grid_->currentRow();
    const int column = grid_->currentColumn();
    if (row < 0 || column < 0) return;
    int targetRow = row + 1;
    int targetColumn = column;
    if (targetRow >= table_->RowCount()) {
        targetRow = 0;
        targetColumn = FirstTextColumn(column + 1);
        if (targetColumn < 0) targetColumn = FirstTextColumn(0);
        if (targetColumn < 0) return;
    }
    if (targetRow == row && targetColumn == column) {
        // Nowhere to go (one row, one text column): commit in place.
        if (CommitCell()) RewriteTextCells();
        return;
    }
    grid_->setCurrentCell(targetRow, targetColumn);
}

bool TTableForm::InGridText(QWidget* widget) const {
    return widget && (widget == grid_ || widget == grid_->viewport() ||
                      widget == delegate_->LastEditor());
}

bool TTableForm::CommitEdits() {
    if (!table_ || CommitCell()) return true;
    // The bad cell comes back to the front, to be corrected before the command can run.
    ReturnToCell();
    return false;
}

void TTableForm::ReturnToCell() {
    if (!table_) return;
    if (sub_ && desk_) desk_->setActiveSubWindow(sub_);
    else activateWindow();
    FocusCurrentCell();
}

void TTableForm::FocusCurrentCell() {
    if (!table_) return;
    grid_->setFocus();
    const QModelIndex current = grid_->currentIndex();
    // A cell with controls is edited through them.
    if (!current.isValid() || current.column() >= table_->VisibleColumnCount() ||
        table_->VisibleColumn(current.column()).UsesControls())
        return;
    if (!CellEditor()) grid_->edit(current);
    // The typing goes into the cell's editor: with the grid focused instead, Ctrl+A would
    // select every cell rather than the entry.
    if (QLineEdit* editor = CellEditor()) editor->setFocus();
}

void TTableForm::FocusCurrentCellLater() {
    // After the child window has given the focus to what it remembered: that may be nothing
    // (a cell editor closed since), the frame itself or the grid, and none of them takes
    // typing into the cell.
    QTimer::singleShot(0, this, [self = QPointer<TTableForm>(this)] {
        if (self) self->TakeTypingInCell();
    });
}

void TTableForm::TakeTypingInCell() {
    if (!table_ || !shown_ || committing_ || reverting_) return;
    if (sub_ && desk_ && desk_->activeSubWindow() != sub_) return;
    QWidget* focus = QApplication::focusWidget();
    const bool onGrid = focus && (focus == grid_ || focus == grid_->viewport());
    // A control of the window the user clicked (a row button) keeps the focus, and so does
    // the open cell.
    if (!onGrid && !(sub_ && (!focus || focus == sub_))) return;
    FocusCurrentCell();
}

// Leaving the grid for another control, or the window for another: the cell is committed,
// and a bad entry brings the user back to it.
void TTableForm::FocusChanged(QWidget* old, QWidget* now) {
    if (!table_ || !shown_ || committing_ || reverting_) return;
    if (!InGridText(old) || !now || InGridText(now)) return;
    if (QApplication::focusWidget() != now) return;  // already taken back
    if (!CommitCell()) ReturnToCell();
}

// ---- Row buttons ----

void TTableForm::AddRow() {
    if (!table_) return;
    const std::function<void()> notification = table_->OnStructureChanged;
    table_->OnStructureChanged = nullptr;
    scrollAttached_ = false;
    try {
        if (shownRows_ == table_->RowCount())
            shownRows_ = std::min(shownRows_ + table_->RowGroup(), kMostRowsAtFirst);
        table_->AddRowGroup();
    } catch (...) {
        table_->OnStructureChanged = notification;
        scrollAttached_ = true;
        throw;
    }
    table_->SetChanged(true);
    table_->OnStructureChanged = notification;
    scrollAttached_ = true;
    Refresh();
    const int rows = table_->RowCount();
    if (rows - 1 >= TopDataRow() + shownRows_) grid_->verticalScrollBar()->setValue(rows - shownRows_);
}

void TTableForm::InsertRow() {
    if (!table_) return;
    const int row = grid_->currentRow();
    if (row < 0 || row >= table_->RowCount()) {
        Information("Grid.Row not in valid range");
        return;
    }
    table_->SetChanged(true);
    if (shownRows_ == table_->RowCount())
        shownRows_ = std::min(shownRows_ + table_->RowGroup(), kMostRowsAtFirst);
    table_->InsertRowGroup(row);
}

void TTableForm::DeleteRow() {
    if (!table_) return;
    const int row = grid_->currentRow();
    if (row < 0 || row >= table_->RowCount()) {
        Information("Grid.Row not in valid range");
        return;
    }
    table_->SetChanged(true);
    table_->DeleteRowGroup(row);
}

void InstallTableEditors(TWorkspace& workspace, QMdiArea* desk) {
    QPointer<QMdiArea> area(desk);
    workspace.Registry().EditorFactory = [area](TGridTable& table) -> TTableEditor* {
        return new TTableForm(table, area.data());
    };
}

}  // namespace torvex

#include "plot/PlotForm.h"
#include "plot/PlotExport.h"

#include <QActionGroup>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <QTimer>

#include "plot/PlotLegend.h"
#include "plot/PlotPainter.h"
#include "plot/PltData.h"

namespace torvex {

namespace {

// The window's font is "Times New Roman" 14 pixels high at 96 pixels per inch.
constexpr int kFontPixels = 14;
// The window's size when it is not maximised.
constexpr int kNormalWidth = 640;
constexpr int kNormalHeight = 480;

struct TValueItem {
    const char* Caption;
    int Value;
};
constexpr TValueItem kMarkerItems[] = {{"&Never", 0},
                                       {"Every &Increment", 1},
                                       {"Every &2 Increments", 2},
                                       {"Every &3 Incrments", 3},
                                       {"Every &5 Increments", 5},
                                       {"Every &10 Incements", 10}};
constexpr TValueItem kFontItems[] = {{"&Default", 10},       {"1.5 * Default", 15},
                                     {"2 * Default", 20},    {"2.5 * Default", 25},
                                     {"3 * Default", 30},    {"4 * Default", 40}};
constexpr TValueItem kWidthItems[] = {{"&Default", 1},    {"2 * Default", 2}, {"4 * Default", 4},
                                      {"6 * Default", 6}, {"10 * Default", 10}};

}  // namespace

TPlotForm::TPlotForm(TGraphPlot& graph, QWidget* parent)
    : QWidget(parent), graph_(graph), state_(graph) {
    setObjectName("PlotForm");
    setWindowTitle(QString::fromStdString(graph.Caption));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    QFont font(SerifFamily());
    font.setPixelSize(kFontPixels);
    setFont(font);
    graph_.ActivateCurvesForNewWindow();

    legend_ = new TPlotLegend(graph_, this);
    legend_->OnToggle = [this](int curve) { ToggleCurve(curve); };
    legend_->Rebuild();
    graph_.LegendFont = legend_->FontSize();
    band_ = new QRubberBand(QRubberBand::Rectangle, this);
    menu_ = new QMenu("&Plot", this);
    menu_->setObjectName("PlotMenu");
    BuildMenu();
    ShowLegendAsOpened();
    resize(kNormalWidth, kNormalHeight);
}

void TPlotForm::ShowLegendAsOpened() {
    // A graph that opens without a legend does not offer one.
    const bool legendShown = graph_.Lines.Count() > 0 && graph_.ShowLegend;
    legend_->setVisible(legendShown);
    MenuItem("PlotShowLegend")->setVisible(legendShown);
}

void TPlotForm::Refit() {
    // Ranges kept from the last run would clip larger results and squeeze smaller ones.
    state_ = TPlotState(graph_);
    graph_.ActivateCurvesForNewWindow();
    RebuildCurveItems();
    legend_->Rebuild();
    ShowLegendAsOpened();
    setWindowTitle(QString::fromStdString(graph_.Caption));
    LayOut();
}

TPlotForm::~TPlotForm() { graph_.IsOpen = false; }

QSize TPlotForm::sizeHint() const { return {kNormalWidth, kNormalHeight}; }

QSize TPlotForm::minimumSizeHint() const { return {kNormalWidth / 2, kNormalHeight / 2}; }

int TPlotForm::FontHeight() const { return kFontPixels * logicalDpiY() / 96; }

QAction* TPlotForm::MenuItem(const QString& name) const {
    for (QAction* action : menu_->actions())
        if (action->objectName() == name) return action;
    return nullptr;
}

void TPlotForm::BuildMenu() {
    auto item = [this](const char* name, const QString& caption) {
        QAction* action = menu_->addAction(caption);
        action->setObjectName(name);
        return action;
    };
    auto valueMenu = [this](const char* name, const QString& caption, auto& items,
                            QActionGroup* group, auto apply) {
        QMenu* sub = menu_->addMenu(caption);
        sub->menuAction()->setObjectName(name);
        for (const TValueItem& entry : items) {
            QAction* action = sub->addAction(entry.Caption);
            action->setData(entry.Value);
            if (group) {
                action->setCheckable(true);
                group->addAction(action);
            }
            connect(action, &QAction::triggered, this, [apply, value = entry.Value] { apply(value); });
        }
        return sub;
    };

    QAction* legend = item("PlotShowLegend", "Show &Legend");
    legend->setCheckable(true);
    connect(legend, &QAction::triggered, this, [this] {
        graph_.ShowLegend = !graph_.ShowLegend;
        legend_->setVisible(graph_.ShowLegend);
    });
    QAction* layers = item("PlotShowLayers", "Show &Soil Layer");
    layers->setCheckable(true);
    connect(layers, &QAction::triggered, this, [this] {
        graph_.ShowLayers = !graph_.ShowLayers;
        LayOut();
    });
    QAction* wall = item("PlotShowWall", "Show &Wall Geometry");
    wall->setCheckable(true);
    connect(wall, &QAction::triggered, this, [this] {
        graph_.ShowWall = !graph_.ShowWall;
        LayOut();
    });
    markerGroup_ = new QActionGroup(this);
    // Radio items, of which none is checked while Markers holds a value of no item.
    markerGroup_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    QMenu* markers = valueMenu("PlotMarkers", "Show &Markers", kMarkerItems, markerGroup_,
                               [this](int v) {
                                   graph_.Markers = v;
                                   update();
                               });
    connect(markers, &QMenu::aboutToShow, this, [this] {
        // Only the current value is checked; another value checks none.
        for (QAction* action : markerGroup_->actions())
            action->setChecked(action->data().toInt() == graph_.Markers);
    });
    valueMenu("PlotFontSize", "&Font Size", kFontItems, nullptr, [this](int v) { SetFontSize(v); });
    valueMenu("PlotLineWidth", "&Line Width", kWidthItems, nullptr, [this](int v) {
        graph_.WidthLine = v;
        update();
    });
    connect(item("PlotTitle", "&Graph Title"), &QAction::triggered, this, &TPlotForm::GraphTitleClick);
    connect(item("PlotEditLegend", "&Edit Legend"), &QAction::triggered, this,
            &TPlotForm::EditLegendClick);
    connect(item("PlotActiveCurves", "&Active Curves"), &QAction::triggered, this,
            &TPlotForm::ActiveCurvesClick);
    menu_->addSeparator()->setObjectName("PlotSeparator1");
    // Printing goes to a printer or a PDF file: always on.
    connect(item("PlotPrint", "&Print..."), &QAction::triggered, this, &TPlotForm::PrintClick);
    connect(item("PlotPageSetup", "P&age Setup"), &QAction::triggered, this, &TPlotForm::PageSetupClick);
    connect(item("PlotSave", "&Save To Disk..."), &QAction::triggered, this,
            [this] { SaveGraphToDisk(this, state_, FontHeight()); });
    menu_->addSeparator()->setObjectName("PlotSeparator2");
    connect(menu_, &QMenu::aboutToShow, this, &TPlotForm::UpdateMenu);
    RebuildCurveItems();
}

void TPlotForm::RebuildCurveItems() {
    for (QAction* action : curveItems_) delete action;
    curveItems_.clear();
    for (int i = 0; i < graph_.Lines.Count(); ++i) {
        if (!graph_.Lines[i].Active) continue;
        QAction* action = menu_->addAction(QString::fromStdString(graph_.LegendLabel(i)));
        action->setCheckable(true);
        action->setChecked(graph_.Lines[i].Visible);
        action->setData(i);
        connect(action, &QAction::triggered, this, [this, i] { ToggleCurve(i); });
        curveItems_.push_back(action);
    }
}

void TPlotForm::SyncCurves() {
    // A run while the window is open may leave fewer curves than it has entries for.
    bool stale = false;
    for (QAction* action : curveItems_) stale |= action->data().toInt() >= graph_.Lines.Count();
    for (int k = 0; k < legend_->Count(); ++k) stale |= legend_->CurveOf(k) >= graph_.Lines.Count();
    if (!stale) return;
    RebuildCurveItems();
    legend_->Rebuild();
}

void TPlotForm::UpdateMenu() {
    SyncCurves();
    MenuItem("PlotShowLegend")->setChecked(graph_.ShowLegend);
    QAction* layers = MenuItem("PlotShowLayers");
    layers->setChecked(graph_.ShowLayers);
    layers->setVisible(graph_.LayerLines.Count() > 0);
    QAction* wall = MenuItem("PlotShowWall");
    wall->setVisible(graph_.WallLineCount > 0);
    wall->setEnabled(graph_.ShowLayers);
    wall->setChecked(graph_.ShowWall);
    MenuItem("PlotFontSize")->setVisible(graph_.ShowFontWidth);
    MenuItem("PlotLineWidth")->setVisible(graph_.ShowFontWidth);
    for (QAction* action : curveItems_)
        action->setChecked(graph_.Lines[action->data().toInt()].Visible);
}

void TPlotForm::ToggleCurve(int curve) {
    SyncCurves();
    if (curve >= graph_.Lines.Count()) return;
    TLine& line = graph_.Lines[curve];
    line.Visible = !line.Visible;
    for (QAction* action : curveItems_)
        if (action->data().toInt() == curve) action->setChecked(line.Visible);
    legend_->update();
    update();
}

void TPlotForm::SetFontSize(int value) {
    graph_.SizeFont = value;
    const int points = value * graph_.LegendFont / 10;
    legend_->SetFontSize(points, points * 3 / 2);
    LayOut();
}

void TPlotForm::LayOut() {
    const auto layOut = [this](int strip) {
        state_.LayOut(width(), height() - strip, logicalDpiX(), logicalDpiY(), FontHeight());
    };
    // The box is put by the layout the window opens with in the first corner of the plot
    // that the curves leave free, bottom-right first; when they take every corner, below the
    // plot at the foot of the window, the plot shortened to make room. Later layouts keep
    // it inside the window, and below the plot while it has not been dragged. The command
    // that opens a graph may still maximise it: the place is taken for good once that
    // command is over.
    QPoint at = legend_->pos();
    if (!legendPlaced_) {
        layOut(0);
        const TLegendPlace place = PlaceLegend(state_.Layout().Plot, legend_->width(), legend_->height(),
                                               CurvePixels(state_), 0, logicalDpiX() / 32 + 1);
        legendStrip_ = place.Corner == TLegendCorner::Outside && !legend_->isHidden()
                           ? legend_->height() + logicalDpiY() / 16 : 0;
        at = QPoint(place.Box.Left, place.Box.Top);
    }
    if (legend_->Moved()) legendStrip_ = 0;
    layOut(legendStrip_);
    if (legendStrip_ > 0) at = QPoint(state_.Layout().Plot.Right - legend_->width(), height() - legend_->height());
    const TPixelPoint kept =
        KeepInside({at.x(), at.y()}, legend_->width(), legend_->height(), width(), height());
    legend_->move(kept.X, kept.Y);
    update();
}

void TPlotForm::resizeEvent(QResizeEvent*) { LayOut(); }

void TPlotForm::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!legendPlaced_) QTimer::singleShot(0, this, [this] { legendPlaced_ = true; });
}

void TPlotForm::paintEvent(QPaintEvent*) {
    SyncCurves();
    QPainter painter(this);
    PaintGraph(painter, state_);
}

QImage TPlotForm::Render(qreal devicePixelRatio) {
    SyncCurves();
    QImage image(size() * devicePixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(devicePixelRatio);
    QPainter painter(&image);
    PaintGraph(painter, state_);
    if (legend_->isVisible()) {
        painter.translate(legend_->pos());
        legend_->render(&painter, QPoint(), QRegion(), RenderFlag::DrawChildren);
    }
    return image;
}

void TPlotForm::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const TPixelRect& plot = state_.Layout().Plot;
    if (!plot.Contains(at.x(), at.y()) || state_.ThreePanels()) return;
    if (event->button() == Qt::LeftButton) {
        banding_ = true;
        bandStart_ = at;
        band_->setGeometry(QRect(at, QSize()));
        band_->show();
    } else if (event->button() == Qt::RightButton) {
        if (state_.ZoomOut({at.x(), at.y()})) update();
    }
}

void TPlotForm::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    setWindowTitle(QString::fromStdString(state_.Readout(at.x(), at.y())));
    if (banding_) band_->setGeometry(QRect(bandStart_, at).normalized());
}

void TPlotForm::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !banding_) return;
    banding_ = false;
    band_->hide();
    const QPoint at = event->position().toPoint();
    if (state_.Zoom({bandStart_.x(), bandStart_.y()}, {at.x(), at.y()})) update();
}

}  // namespace torvex

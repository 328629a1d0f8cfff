#include "profile/SideView.h"

#include <QLabel>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <exception>
#include <new>

#include "desktop/SafeOutput.h"
#include "desktop/UserInterface.h"
#include "profile/MarkPainter.h"

namespace torvex {

TDlgSideView::TDlgSideView(TWorkspace& workspace, QWidget* parent)
    : QWidget(parent),
      workspace_(workspace),
      title_(new QLabel("Wall Profile", this)),
      printButton_(new QPushButton("Print", this)) {
    setObjectName("DlgSideView");
    setWindowTitle(kCaption);
    setMouseTracking(true);
    title_->setObjectName("Label1");
    title_->move(352, 8);
    title_->adjustSize();
    printButton_->setObjectName("Button1");
    printButton_->setGeometry(440, 336, 57, 25);
    // Qt can always write a PDF file, so there is always somewhere to print to.
    printButton_->setEnabled(true);
    connect(printButton_, &QPushButton::clicked, this, &TDlgSideView::Button1Click);
    resize(kOpeningWidth, kOpeningHeight);
}

QSize TDlgSideView::sizeHint() const { return {kOpeningWidth, kOpeningHeight}; }

QSize TDlgSideView::minimumSizeHint() const { return {kOpeningWidth / 2, kOpeningHeight / 2}; }

void TDlgSideView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (watchingActivation_) return;
    // Inside the main window the child window's activation is the frame's, not ours.
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) {
        watchingActivation_ = true;
        connect(frame, &QMdiSubWindow::windowStateChanged, this,
                [this](Qt::WindowStates before, Qt::WindowStates now) {
                    if (now.testFlag(Qt::WindowActive) && !before.testFlag(Qt::WindowActive))
                        FormActivate();
                });
        if (frame->isActiveWindow() || frame->windowState().testFlag(Qt::WindowActive))
            FormActivate();
    } else {
        FormActivate();
    }
}

void TDlgSideView::FormActivate() {
    scene_ = ReadProfileScene(workspace_);
    geometry_.Activate(scene_);
    FormResize();
}

void TDlgSideView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FormResize();
}

void TDlgSideView::FormResize() {
    geometry_.Resize(width(), height());
    update();
}

std::vector<TMark> TDlgSideView::CurrentMarks() const { return ScreenMarks(scene_, geometry_); }

void TDlgSideView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.setRenderHint(QPainter::Antialiasing);
    // Thin lines on whole pixels, not across two.
    painter.translate(0.5, 0.5);
    const TMarkStyle style{palette().color(QPalette::WindowText),
                           palette().color(QPalette::WindowText),
                           palette().color(QPalette::WindowText), font()};
    PaintMarks(painter, CurrentMarks(), style);
}

void TDlgSideView::mouseMoveEvent(QMouseEvent* event) {
    QWidget::mouseMoveEvent(event);
    const std::optional<long double> depth =
        geometry_.DepthAtRow(static_cast<int>(event->position().y()));
    if (depth) setWindowTitle(QString::fromStdString(DepthCaption(*depth - scene_.WallTop)));
}

void TDlgSideView::Button1Click() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    // The pens and the hatch are sized in the pixels of a 600 dpi page.
    printer.setResolution(600);
    printer.setDocName(kPrintJobName);
    if (!UserInterface().Print(this, printer)) return;
    PrintPage(printer);
}

void TDlgSideView::PrintPage(QPrinter& printer) {
    printer.setDocName(kPrintJobName);
    const TMarkStyle style{Qt::black, palette().color(QPalette::WindowText), Qt::black,
                           title_->font()};
    try {
        const bool printed = PrintOnePage(printer, [&](QPainter& painter, const QPaintDevice& page) {
            const int pageWidth = page.width();
            const int pageHeight = page.height();
            painter.fillRect(QRect(0, 0, pageWidth, pageHeight), Qt::white);
            painter.setRenderHint(QPainter::Antialiasing);
            PaintMarks(painter, PageMarks(scene_, geometry_, pageWidth, pageHeight), style);
        });
        if (!printed) UserInterface().Information(this, "The page could not be printed.");
    } catch (const std::bad_alloc&) {
        UserInterface().Information(this, kNotEnoughMemory);
    } catch (const std::exception& error) {
        UserInterface().Information(this, QString::fromStdString(error.what()));
    }
}

}  // namespace torvex

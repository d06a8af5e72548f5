// The window's layout: the splitter grips, and the panes placed for the splitters' positions.
#include "gui/app/WindowLayout.h"

#include "gui/app/SplitterGrip.h"
#include "core/record/Record.h"
#include "gui/frame/DocumentMenu.h"
#include "gui/frame/ListPane.h"
#include "gui/frame/PaneLayout.h"
#include "gui/frame/RecordEditing.h"
#include "gui/frame/RecordView.h"
#include "gui/frame/WindowFrame.h"
#include "platform/widgets/StatusBar.h"
#include "platform/Twips.h"

#include <QFrame>
#include <QToolBar>

using platform::pixelsToTwips;
using platform::twipsToPixels;

WindowLayout::WindowLayout(ProgramContext& context, WindowFrame& frame, QWidget& window, QWidget* toolbar,
                           const Panes& panes)
    : QObject(frame.clientArea()), context(context), frame(frame), panes(panes), window(window), toolbar(toolbar) {
    imgSplitter = new SplitterGrip(Qt::Vertical, clientArea());
    imgSplitter->setObjectName(QStringLiteral("imgSplitter"));
    imgHSplitter = new SplitterGrip(Qt::Horizontal, clientArea());
    imgHSplitter->setObjectName(QStringLiteral("imgHSplitter"));
    for (QWidget** bar : {&picSplitter, &picHSplitter}) {
        auto* frame = new QFrame(clientArea());
        frame->setAutoFillBackground(true);
        QPalette pal = frame->palette();
        pal.setColor(QPalette::Window, QColor(0x60, 0x60, 0x60));
        frame->setPalette(pal);
        frame->hide();
        *bar = frame;
    }
    picSplitter->setObjectName(QStringLiteral("picSplitter"));
    picHSplitter->setObjectName(QStringLiteral("picHSplitter"));
    connect(imgSplitter, &SplitterGrip::pressed, this, [this] { splitterPressed(imgSplitter); });
    connect(imgSplitter, &SplitterGrip::moved, this, [this](const QPoint& p) { splitterMoved(imgSplitter, p); });
    connect(imgSplitter, &SplitterGrip::released, this, [this] { splitterReleased(imgSplitter); });
    connect(imgHSplitter, &SplitterGrip::pressed, this, [this] { splitterPressed(imgHSplitter); });
    connect(imgHSplitter, &SplitterGrip::moved, this, [this](const QPoint& p) { splitterMoved(imgHSplitter, p); });
    connect(imgHSplitter, &SplitterGrip::released, this, [this] { splitterReleased(imgHSplitter); });

}

QWidget* WindowLayout::clientArea() const {
    return frame.clientArea();
}

void WindowLayout::moveHSplitter(double y) {
    splitterYTwips_ = y;
    imgHSplitter->move(imgHSplitter->x(), twipsToPixels(y));
}

double WindowLayout::splitterX() const {
    return splitterXTwips_;
}

double WindowLayout::splitterY() const {
    return splitterYTwips_;
}

Layout::Input WindowLayout::layoutInput() const {
    Layout::Input in;
    in.innerWidth = pixelsToTwips(clientArea()->width());
    in.innerHeight = pixelsToTwips(clientArea()->height());
    in.windowWidth = pixelsToTwips(window.width());
    in.toolbarVisible = !toolbar->isHidden();
    in.toolbarHeight = pixelsToTwips(toolbar->sizeHint().height());
    in.statusBarVisible = !frame.statusBar().isHidden();
    in.statusBarHeight = pixelsToTwips(frame.statusBar().height());
    panes.tree.describe(in);
    panes.record.describe(in);
    panes.navigation.describe(in);
    in.firstWindowInnerWidth = pixelsToTwips(clientArea()->width());
    return in;
}

double WindowLayout::splitterForLines(int lines, double editHeight) const {
    return Layout::splitterForLines(layoutInput(), lines, panes.recordView.rowHeightTwips(),
                                    panes.recordView.headerHeightTwips(), editHeight);
}

void WindowLayout::SizeControls(double& x, double& y) {
    const Layout::Result r = Layout::SizeControls(x, y, layoutInput());
    applyLayout(r);
}

void WindowLayout::applyLayout(const Layout::Result& r) {
    splitterXTwips_ = r.x;
    splitterYTwips_ = r.y;
    if (panes.listPane.activeTreeVisible()) treePaneTwips_ = r.x;
    toolbar->setGeometry(pixelRect(r.toolbar));
    if (!frame.statusBar().isHidden()) {
        const int h = frame.statusBar().height();
        frame.statusBar().setGeometry(0, clientArea()->height() - h, clientArea()->width(), h);
    }
    if (panes.recordEditing.editPanelShown() || !context.document.currentHTMLFile().isEmpty())
        panes.fileMenu.showCurrentFile();
    else
        frame.statusBar().setPanelText(WindowFrame::kFilePanel, QStringLiteral("Edit not Active"));
    panes.record.place(r);
    panes.tree.place(r);
    imgSplitter->setGeometry(pixelRect(r.vGrip));
    imgHSplitter->setGeometry(pixelRect(r.hGrip));
    picSplitter->move(twipsToPixels(r.x), picSplitter->y());
    panes.navigation.place(r);
    // Raising repaints the grips, and every paint on a real display flushes the whole window:
    // only when they are no longer on top.
    const QObjectList& panes = clientArea()->children();
    if (panes.size() < 2 || panes.at(panes.size() - 2) != imgSplitter || panes.last() != imgHSplitter) {
        imgSplitter->raise();
        imgHSplitter->raise();
    }
}

void WindowLayout::splitterPressed(SplitterGrip* grip) {
    if (grip == imgSplitter) {
        picSplitter->setGeometry(imgSplitter->x(), imgSplitter->y(), std::max(2, imgSplitter->width() / 2),
                                 std::max(1, imgSplitter->height() - twipsToPixels(20)));
        picSplitter->show();
        picSplitter->raise();
        vSplitterMoving = true;
    } else {
        picHSplitter->setGeometry(imgHSplitter->geometry());
        picHSplitter->show();
        picHSplitter->raise();
        hSplitterMoving = true;
    }
}

void WindowLayout::splitterMoved(SplitterGrip* grip, const QPoint& globalPos) {
    const QPoint local = clientArea()->mapFromGlobal(globalPos);
    if (grip == imgSplitter && vSplitterMoving) {
        const double left = Layout::clampDrag(pixelsToTwips(local.x()), pixelsToTwips(window.width()));
        picSplitter->move(twipsToPixels(left), picSplitter->y());
    } else if (grip == imgHSplitter && hSplitterMoving) {
        const double top = Layout::clampDrag(pixelsToTwips(local.y()), pixelsToTwips(window.height()));
        picHSplitter->move(picHSplitter->x(), twipsToPixels(top));
    }
}

void WindowLayout::splitterReleased(SplitterGrip* grip) {
    if (grip == imgSplitter && vSplitterMoving) {
        double x = pixelsToTwips(picSplitter->x());
        double y = splitterY();
        SizeControls(x, y);
        picSplitter->hide();
        vSplitterMoving = false;
    } else if (grip == imgHSplitter && hSplitterMoving) {
        double x = pixelsToTwips(picSplitter->x());
        double y = pixelsToTwips(picHSplitter->y());
        SizeControls(x, y);
        picHSplitter->hide();
        hSplitterMoving = false;
        imgHSplitter->raise();
    }
}

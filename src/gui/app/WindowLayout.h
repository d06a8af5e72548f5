#pragma once
#include "gui/frame/Layout.h"
#include "core/program/ProgramContext.h"

#include <QObject>

class QPoint;
class QWidget;
class DocumentMenu;
class ListPane;
class PaneLayout;
class RecordEditing;
class RecordView;
class SplitterGrip;
class WindowFrame;

// The main window's layout: the two splitter grips and their drags, and every part of the
// client area placed, in twips, for the splitters' positions.
class WindowLayout : public QObject {
    Q_OBJECT
public:
    // The panes it lays out, and what it asks of them and the File menu.
    struct Panes {
        PaneLayout& navigation;
        PaneLayout& record;
        PaneLayout& tree;
        RecordView& recordView;
        RecordEditing& recordEditing;
        ListPane& listPane;
        DocumentMenu& fileMenu;
    };
    // Makes the grips in the frame's client area, above what is there already.
    WindowLayout(ProgramContext& context, WindowFrame& frame, QWidget& window, QWidget* toolbar, const Panes& panes);

    // Lays the panes out for splitter positions x and y (twips), correcting them in place.
    void SizeControls(double& x, double& y);
    // The splitter positions as they stand.
    double splitterX() const;
    double splitterY() const;
    // Puts the horizontal splitter at this top (twips); the next layout starts from there.
    void moveHSplitter(double y);
    // Where the horizontal splitter shows that many whole lines of the metadata panel.
    double splitterForLines(int lines, double editHeight) const;
    // The hierarchy pane's width, which it takes again when it is shown.
    double treePaneWidth() const { return treePaneTwips_; }
    void setTreePaneWidth(double twips) { treePaneTwips_ = twips; }

private:
    QWidget* clientArea() const;
    Layout::Input layoutInput() const;
    void applyLayout(const Layout::Result& r);
    void splitterPressed(SplitterGrip* grip);
    void splitterMoved(SplitterGrip* grip, const QPoint& globalPos);
    void splitterReleased(SplitterGrip* grip);

    ProgramContext& context;
    WindowFrame& frame;
    const Panes panes;
    QWidget& window;
    QWidget* toolbar;
    SplitterGrip* imgSplitter = nullptr;
    QWidget* picSplitter = nullptr;
    SplitterGrip* imgHSplitter = nullptr;
    QWidget* picHSplitter = nullptr;
    bool vSplitterMoving = false;
    bool hSplitterMoving = false;
    // The splitter positions in twips, as the last layout left them.
    double splitterXTwips_ = 2500;
    double splitterYTwips_ = 4999;
    double treePaneTwips_ = 2000;
};

#pragma once
#include "gui/app/AddressBox.h"
#include "gui/app/BrowserPanel.h"
#include "gui/app/NavigationHub.h"
#include "gui/app/NavigationNeighbours.h"
#include "gui/app/NavigationToolbar.h"
#include "gui/frame/NavigationView.h"
#include "gui/frame/PaneLayout.h"

#include <QObject>
#include <QString>

class LogoOverlay;
class LogoWidget;
class ProgramContext;
class QMimeData;
class QToolBar;
class QWidget;
class WindowFrame;

// The navigation pane: the toolbar's buttons with their history lists, the address box, the
// logo and the embedded browser, made here in the order of their controls, and the drops on
// the window. The address box, the hub every navigation passes and the browser are parts of
// their own, which the window hands to the other panes and the menus.
class NavigationPane : public QObject, public NavigationView, public PaneLayout {
    Q_OBJECT
public:
    using Neighbours = NavigationNeighbours;
    using enum NavigationToolbar::ToolbarButton;

    // Puts its buttons and the address box into the toolbar.
    NavigationPane(ProgramContext& context, WindowFrame& frame, QToolBar* toolbar, const Neighbours& around);
    ~NavigationPane() override;

    // The pane's parts, as the window hands them to the others.
    AddressBox& addressBox() { return address_; }
    NavigationHub& hub() { return hub_; }
    BrowserPanel& browser() { return browser_; }

    void LoadDragDrop(const QString& item) override;
    void dropOnWindow(const QMimeData* data) override;
    void stopBusyAnimation() override;
    void GifOverlay_Click();
    void GifOverlay_OLEDragDrop(const QMimeData* data);

    void describe(Layout::Input& in) const override;
    void place(const Layout::Result& r) override;
    void showBrowser(bool on) override;
    void showLogo(bool on) override;

    // A window starting: the next navigation is read, the history comes from its file.
    void reset();
    // A window closing: the browser stops, the history goes to its file.
    void stopBrowser() { browser_.stop(); }
    void saveURLList() { address_.saveURLList(); }
    bool isAddressBox(const QWidget* widget) const { return address_.isAddressBox(widget); }

private:
    ProgramContext& context;
    const Neighbours around;
    NavigationToolbar toolbar_;
    AddressBox address_;
    LogoWidget* Gif89a1;
    LogoOverlay* GifOverlay;
    NavigationHub hub_;
    BrowserPanel browser_;
};

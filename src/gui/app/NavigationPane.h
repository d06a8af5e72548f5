#pragma once
#include "platform/ControlArray.h"
#include "gui/frame/AddressBar.h"
#include "gui/frame/Navigation.h"
#include "gui/frame/NavigationView.h"
#include "gui/frame/PageBrowser.h"
#include "gui/frame/PaneLayout.h"
#include "core/program/ProgramContext.h"

#include <QList>
#include <QObject>
#include <QRect>
#include <QString>

class QAction;
class QComboBox;
class QMimeData;
class QToolBar;
class QWidget;
class LogoWidget;
class LogoOverlay;
class ContentBox;
class DocumentMenu;
class RecordDocument;
class RecordEditing;
class RecordLoading;
class RecordView;
class WindowFrame;

namespace platform {
struct BeforeNavigateEvent;
struct NewWindowEvent;
struct PageDocument;
class Inet;
class WebBrowser;
}  // namespace platform

// The navigation pane: the address box and the toolbar's buttons with their history lists,
// the logo, the embedded browser (every navigation of it passes the hub here) and the
// transfer control.
class NavigationPane : public QObject,
                       public AddressBar,
                       public Navigation,
                       public PageBrowser,
                       public NavigationView,
                       public PaneLayout {
    Q_OBJECT
public:
    // What the pane asks of the other panes and the menus.
    struct Neighbours {
        RecordDocument& record;
        RecordLoading& recordLoading;
        RecordEditing& recordEditing;
        RecordView& recordView;
        ContentBox& contentBox;
        DocumentMenu& fileMenu;
    };
    // Puts its buttons and the address box into the toolbar.
    NavigationPane(ProgramContext& context, WindowFrame& frame, QToolBar* toolbar, const Neighbours& around);
    ~NavigationPane() override;

    // Toolbar buttons, by the index the program gives them.
    enum ToolbarButton : int {
        kPreviousButton = 2,
        kNextButton = 3,
        kStopButton = 4,
        kHomeButton = 5,
        kRefreshButton = 6,
        kSearchButton = 7,
        kPrintButton = 8,
    };

    // ---- opening pages ---------------------------------------------------------------
    void LoadURL() override;
    void LoadURLFromLocation() override;
    void GoHome() override;
    // Puts the address into the address box and opens it.
    void openAddress(const QString& address) override;
    // Shows a local file the program does not open itself.
    void showLocalFile(const QString& path) override;
    // Opens a page a command asked for and reads its record, whatever the browser is busy
    // with; says what became of the read.
    PageLoad openPageForCommand(const QString& location) override;
    void stopBrowser();
    // Starts a second copy of the program with the address as its command line.
    void startSecondInstance(const QString& address) override;

    // ---- the address box -------------------------------------------------------------
    QString addressText() const override;
    void setAddressText(const QString& address) override;
    void pickAddressEntry(const QString& address) override;
    bool isAddressBox(const QWidget* widget) const;
    void URL_Click();
    void openTypedAddress();
    void URL_OLEDragDrop(const QMimeData* data);
    QString URLAddItem(const QString& address) override;
    void loadURLList();
    void saveURLList();
    QString historyFilePath() const;

    // ---- the browser -----------------------------------------------------------------
    // The browser's present address and page title.
    QString browserLocationURL() const override;
    QString browserLocationName() const override;
    // The visible text of the link with this exact href in a document or its frames.
    static QString findLinkName(const platform::PageDocument& document, const QString& address);
    QString linkNameOnPage(const QString& address) const override;
    void focusBrowser() override;
    // The browser's events, with the navigation hub deciding every navigation.
    void WebBrowser1_BeforeNavigate2(platform::BeforeNavigateEvent& event) override;
    void WebBrowser1_NewWindow(platform::NewWindowEvent& event);
    void WebBrowser1_DownloadBegin();
    void WebBrowser1_DownloadComplete();
    void WebBrowser1_CommandStateChange(int command, bool enable);
    void WebBrowser1_StatusTextChange(const QString& text);
    void WebBrowser1_TitleChange(const QString& title);
    void WebBrowser1_OnVisible(bool visible);
    // A line in the status bar about a page command that did not run; it stays over the
    // "Ready" of the page load under way, until the next load begins.
    void showNotice(const QString& text) override;

    // ---- transfers, the logo and drops -----------------------------------------------
    platform::Inet& inet() const override { return *Inet1; }
    void Inet1_StateChanged(int state);
    void stopBusyAnimation() override;
    void GifOverlay_Click();
    void GifOverlay_OLEDragDrop(const QMimeData* data);
    // Files and text dropped on the logo, the address box or the metadata panel.
    void LoadDragDrop(const QString& item) override;
    // Drops on the window's targets: text goes whole to LoadDragDrop; of several files the
    // later ones go to the history menus and the first is opened.
    void dropOnWindow(const QMimeData* data) override;

    // ---- the toolbar and its history lists ---------------------------------------------
    void Toolbar1_ButtonClick(int index);
    void Toolbar1_ButtonMenuClick(int buttonIndex, int entryIndex);
    void PrintPage() override;
    // The Back and Forward lists of the toolbar (entry 1 is the most recent).
    struct HistoryEntry {
        QString text;
        QString tag;
    };
    // Records a location at the top of the Back list (mode 1: a dropped file).
    void prevNextLoad2(int mode, const QString& location, const QString& text);
    void prevNextMenuClick(int buttonIndex, int entryIndex);

    // ---- layout ----------------------------------------------------------------------
    void describe(Layout::Input& in) const override;
    void place(const Layout::Result& r) override;
    void showBrowser(bool on) override;
    void showLogo(bool on) override;
    // A window starting: the next navigation is read, the history comes from its file.
    void reset();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildToolbar(QToolBar* toolbar);
    void buildBrowser();
    void prevNextMove(int direction, int k);
    void refreshHistoryButtons();

    ProgramContext& context;
    WindowFrame& frame;
    const Neighbours around;
    QToolBar* Toolbar1;
    ControlArray<QAction> toolbarButtons;
    QComboBox* URL = nullptr;
    LogoWidget* Gif89a1 = nullptr;
    LogoOverlay* GifOverlay = nullptr;
    QWidget* BrowserPanel = nullptr;
    platform::WebBrowser* WebBrowser1 = nullptr;
    platform::Inet* Inet1 = nullptr;
    QList<HistoryEntry> backList;
    QList<HistoryEntry> forwardList;
    // The browser's page name and address after the last completed download.
    HistoryEntry lastDownload_;
    bool navArmed = true;
    int navFlags = 0;
    // The navigation under way is a command's own page (see openPageForCommand).
    bool commandNavigation_ = false;
    // The address box is losing the focus (its "activated" then is no pick).
    bool urlFocusLeaving_ = false;
    // The notice shown since the last load began.
    QString notice_;
};

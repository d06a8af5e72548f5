#pragma once
#include "platform/ControlArray.h"

#include <QList>
#include <QObject>
#include <QString>

class AddressBox;
class BrowserPanel;
class NavigationHub;
class NavigationView;
class QAction;
class QToolBar;

// The toolbar's buttons, with the Back and Forward lists under the Previous and Next buttons.
class NavigationToolbar final : public QObject {
    Q_OBJECT
public:
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
    // An entry of the Back or Forward list: the page's name and its address.
    struct HistoryEntry {
        QString text;
        QString tag;
    };

    // Puts the buttons into the toolbar; the parts they work on are only kept.
    NavigationToolbar(QToolBar* toolbar, AddressBox& address, NavigationHub& hub, BrowserPanel& browser,
                      NavigationView& pane);

    void Toolbar1_ButtonClick(int index);
    void Toolbar1_ButtonMenuClick(int buttonIndex, int entryIndex);
    // The browser says whether it can go back or forward.
    void WebBrowser1_CommandStateChange(int command, bool enable);
    // Records a location at the top of the Back list (mode 1: a dropped file).
    void prevNextLoad2(int mode, const QString& location, const QString& text);
    void prevNextMenuClick(int buttonIndex, int entryIndex);

private:
    void prevNextMove(int direction, int k);
    void refreshHistoryButtons();

    QToolBar* Toolbar1;
    AddressBox& address;
    NavigationHub& hub;
    BrowserPanel& browser;
    NavigationView& pane;
    ControlArray<QAction> toolbarButtons;
    // Entry 1 of each is the most recent.
    QList<HistoryEntry> backList;
    QList<HistoryEntry> forwardList;
};

// The toolbar's buttons and the Back and Forward lists under two of them.
#include "gui/app/NavigationToolbar.h"

#include "gui/app/AddressBox.h"
#include "gui/app/BrowserPanel.h"
#include "gui/app/NavigationHub.h"
#include "gui/frame/NavigationView.h"
#include "platform/widgets/MenuItems.h"
#include "platform/widgets/WebBrowser.h"

#include <QAction>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QPolygonF>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

namespace {

enum class ToolbarPicture { Back, Forward, Stop, Home, Refresh, Search, Print };

// The toolbar's own pictures, for desktops without an icon theme: the style's where it has
// one, drawn here for a house, a magnifier and a printer.
QIcon toolbarPicture(ToolbarPicture picture, QStyle* style) {
    switch (picture) {
    case ToolbarPicture::Back: return style->standardIcon(QStyle::SP_ArrowBack);
    case ToolbarPicture::Forward: return style->standardIcon(QStyle::SP_ArrowForward);
    case ToolbarPicture::Stop: return style->standardIcon(QStyle::SP_BrowserStop);
    case ToolbarPicture::Refresh: return style->standardIcon(QStyle::SP_BrowserReload);
    default: break;
    }
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 60), 2.5));
    if (picture == ToolbarPicture::Home) {
        p.setBrush(QColor(240, 200, 120));
        p.drawPolygon(QPolygonF({QPointF(4, 16), QPointF(16, 4), QPointF(28, 16)}));
        p.drawRect(QRectF(8, 16, 16, 12));
        p.setBrush(QColor(120, 80, 40));
        p.drawRect(QRectF(14, 20, 5, 8));
    } else if (picture == ToolbarPicture::Search) {
        p.setBrush(QColor(200, 225, 250));
        p.drawEllipse(QRectF(4, 4, 16, 16));
        p.setPen(QPen(QColor(60, 60, 60), 5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(18, 18), QPointF(27, 27));
    } else {
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9, 3, 14, 10));  // paper
        p.setBrush(QColor(150, 150, 160));
        p.drawRoundedRect(QRectF(3, 12, 26, 12), 2, 2);  // body
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9, 20, 14, 9));  // printed sheet
    }
    return QIcon(pixmap);
}

void fillMenu(QMenu* menu, const QList<NavigationToolbar::HistoryEntry>& entries) {
    menu->clear();
    for (int i = 0; i < entries.size(); ++i) {
        QAction* a = menu->addAction(entries[i].text.isEmpty() ? entries[i].tag : entries[i].text);
        a->setData(i + 1);
    }
}

}  // namespace

NavigationToolbar::NavigationToolbar(QToolBar* toolbar, AddressBox& address, NavigationHub& hub,
                                     BrowserPanel& browser, NavigationView& pane)
    : Toolbar1(toolbar), address(address), hub(hub), browser(browser), pane(pane) {
    QStyle* style = toolbar->style();
    struct Button {
        int index;
        const char* tip;
        const char* themeIcon;
        ToolbarPicture fallback;
    };
    const Button buttons[] = {
        {kPreviousButton, "Previous", "go-previous", ToolbarPicture::Back},
        {kNextButton, "Next", "go-next", ToolbarPicture::Forward},
        {kStopButton, "Stop", "process-stop", ToolbarPicture::Stop},
        {kHomeButton, "Home", "go-home", ToolbarPicture::Home},
        {kRefreshButton, "Refresh", "view-refresh", ToolbarPicture::Refresh},
        {kSearchButton, "Search", "edit-find", ToolbarPicture::Search},
        {kPrintButton, "Print", "document-print", ToolbarPicture::Print},
    };
    for (const Button& b : buttons) {
        const QIcon icon = QIcon::fromTheme(QLatin1String(b.themeIcon), toolbarPicture(b.fallback, style));
        QAction* a = Toolbar1->addAction(icon, QLatin1String(b.tip));
        a->setToolTip(QLatin1String(b.tip));
        a->setObjectName(QStringLiteral("Toolbar1_%1").arg(b.index));
        toolbarButtons.set(b.index, a);
    }
    toolbarButtons(kPreviousButton)->setEnabled(false);
    toolbarButtons(kNextButton)->setEnabled(false);
    Toolbar1->addSeparator();

    menuItems::connectElements(toolbarButtons, this, [this](int number) { Toolbar1_ButtonClick(number); });
    for (int number : {kPreviousButton, kNextButton}) {
        auto* tool = qobject_cast<QToolButton*>(Toolbar1->widgetForAction(toolbarButtons(number)));
        if (!tool) continue;
        auto* menu = new QMenu(tool);
        tool->setMenu(menu);
        tool->setPopupMode(QToolButton::MenuButtonPopup);
        connect(menu, &QMenu::triggered, this,
                [this, number](QAction* entry) { Toolbar1_ButtonMenuClick(number, entry->data().toInt()); });
    }
}

void NavigationToolbar::Toolbar1_ButtonClick(int index) {
    QAction* button = toolbarButtons(index);
    const QString tip = button ? button->toolTip() : QString();
    platform::WebBrowser* web = browser.web();
    if (tip == QLatin1String("Previous")) {
        web->GoBack();
    } else if (tip == QLatin1String("Next")) {
        web->GoForward();
    } else if (tip == QLatin1String("Stop")) {
        web->Stop();
        pane.stopBusyAnimation();
    } else if (tip == QLatin1String("Home")) {
        web->Stop();
        pane.stopBusyAnimation();
        hub.GoHome();
    } else if (tip == QLatin1String("Refresh")) {
        hub.refreshPage();
    } else if (tip == QLatin1String("Search")) {
        web->GoSearch();
    } else if (tip == QLatin1String("Print")) {
        browser.PrintPage();
    }
}

void NavigationToolbar::Toolbar1_ButtonMenuClick(int buttonIndex, int entryIndex) {
    prevNextMenuClick(buttonIndex, entryIndex);
}

void NavigationToolbar::WebBrowser1_CommandStateChange(int command, bool enable) {
    if (command == platform::kForwardCommand) toolbarButtons(kNextButton)->setEnabled(enable);
    else if (command == platform::kBackCommand) toolbarButtons(kPreviousButton)->setEnabled(enable);
}

void NavigationToolbar::refreshHistoryButtons() {
    toolbarButtons(kPreviousButton)->setEnabled(!backList.isEmpty());
    toolbarButtons(kNextButton)->setEnabled(!forwardList.isEmpty());
    for (int index : {kPreviousButton, kNextButton}) {
        auto* button = qobject_cast<QToolButton*>(Toolbar1->widgetForAction(toolbarButtons(index)));
        if (button && button->menu()) fillMenu(button->menu(), index == kPreviousButton ? backList : forwardList);
    }
}

void NavigationToolbar::prevNextLoad2(int mode, const QString& location, const QString& text) {
    if (mode != 1 || location.isEmpty()) return;
    backList.prepend(HistoryEntry{text, location});
    refreshHistoryButtons();
}

void NavigationToolbar::prevNextMenuClick(int buttonIndex, int entryIndex) {
    if (buttonIndex == kPreviousButton) prevNextMove(1, entryIndex);
    else if (buttonIndex == kNextButton) prevNextMove(2, entryIndex);
}

// A browser-style move: the entries before the chosen one and the current page go over
// to the other list, newest first, and the chosen entry is loaded.
void NavigationToolbar::prevNextMove(int direction, int k) {
    QList<HistoryEntry>& source = direction == 1 ? backList : forwardList;
    QList<HistoryEntry>& destination = direction == 1 ? forwardList : backList;
    if (k < 1 || k > source.size()) return;
    QList<HistoryEntry> moved;
    for (int i = k - 2; i >= 0; --i) moved.append(source[i]);
    moved.append(browser.lastDownload());
    destination = moved + destination;
    address.setAddressText(source[k - 1].tag);
    source.erase(source.begin(), source.begin() + k);
    hub.LoadURLFromLocation();
    refreshHistoryButtons();
}

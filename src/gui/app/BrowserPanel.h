#pragma once
#include "gui/app/NavigationToolbar.h"
#include "gui/frame/PageBrowser.h"

#include <QObject>
#include <QString>

class LogoWidget;
class NavigationHub;
class ProgramContext;
class QWidget;
class WindowFrame;

namespace platform {
struct NewWindowEvent;
struct PageDocument;
class Inet;
class WebBrowser;
}  // namespace platform

// The embedded browser in its panel, its events, and the window's transfer control.
class BrowserPanel final : public QObject, public PageBrowser {
    Q_OBJECT
public:
    // Makes the panel in the window's client area; every navigation of the browser goes to
    // the hub, its Back and Forward state to the toolbar. The pane owning it is its parent.
    BrowserPanel(QObject* pane, ProgramContext& context, WindowFrame& frame, NavigationHub& hub, NavigationToolbar& toolbar,
                 LogoWidget& logo);

    QString browserLocationURL() const override;
    QString browserLocationName() const override;
    // The visible text of the link with this exact href in a document or its frames.
    static QString findLinkName(const platform::PageDocument& document, const QString& address);
    QString linkNameOnPage(const QString& address) const override;
    void focusBrowser() override;
    void PrintPage() override;
    void showNotice(const QString& text) override;
    platform::Inet& inet() const override { return *Inet1; }

    // The browser, and the panel holding it.
    platform::WebBrowser* web() const { return WebBrowser1; }
    QWidget* panel() const { return panel_; }
    // The page's name and address after the last completed download.
    NavigationToolbar::HistoryEntry lastDownload() const { return lastDownload_; }
    void stop();

    void WebBrowser1_NewWindow(platform::NewWindowEvent& event);
    void WebBrowser1_DownloadBegin();
    void WebBrowser1_DownloadComplete();
    void WebBrowser1_StatusTextChange(const QString& text);
    void WebBrowser1_TitleChange(const QString& title);
    void WebBrowser1_OnVisible(bool visible);
    void Inet1_StateChanged(int state);

private:
    ProgramContext& context;
    WindowFrame& frame;
    NavigationHub& hub;
    LogoWidget& logo;
    QWidget* panel_ = nullptr;
    platform::WebBrowser* WebBrowser1 = nullptr;
    platform::Inet* Inet1 = nullptr;
    NavigationToolbar::HistoryEntry lastDownload_;
    // The notice shown since the last load began.
    QString notice_;
};

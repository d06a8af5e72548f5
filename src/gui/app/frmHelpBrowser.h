#pragma once
#include <QDialog>
#include <QRect>
#include <QString>

class AddressBar;
class Navigation;
class ProgramContext;
class RecordDocument;
class RecordLoading;
class RecordEditing;
class WindowFrame;
class QPushButton;
class QTimer;

namespace platform {
class Inet;
class WebBrowser;
struct BeforeNavigateEvent;
}  // namespace platform

// The help window: shows help pages and the pages the program hands it (the list loader's
// error report), and receives the repository's replies on its own transfer control. A
// reply that carries a record is stored in the cache and loaded into the main window.
// The main window makes it on first use; it is a window of its own, not a child.
class frmHelpBrowser : public QDialog {
    Q_OBJECT
public:
    // What the window asks of the main window's panes.
    struct MainWindow {
        AddressBar& address;
        Navigation& navigation;
        RecordDocument& record;
        RecordLoading& recordLoading;
        RecordEditing& recordEditing;
    };
    frmHelpBrowser(ProgramContext& context, WindowFrame& frame, const MainWindow& main);

    // Puts an HTML page into the window's buffer; the window's timer handles it.
    void setHTML(const QString& html);
    // Sends the window's browser to an address; showing the window is the caller's.
    void openPage(const QString& address);
    // The transfer control the repository's replies arrive on.
    platform::Inet& repositoryTransfer();

    // Handles what waits in the buffer and empties it.
    void Timer1_Timer();
    void PostInet_StateChanged(int state);
    void WebBrowser1_BeforeNavigate2(platform::BeforeNavigateEvent& event);
    // Where the record page of a reply is kept.
    static QString recordPagePath();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void showReply(const QString& html);

    // The reply or page waiting in the buffer ("" when nothing waits).
    QString receivedHTML;
    platform::WebBrowser* WebBrowser1;
    platform::Inet* PostInet;
    QPushButton* cmdClose;
    QTimer* Timer1;
    ProgramContext& context_;
    WindowFrame& frame_;
    const MainWindow main_;
    // Where the window was last (empty before its first opening).
    QRect placed_;
};

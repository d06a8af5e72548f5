#pragma once
#include <QDialog>
#include <QString>

class QPushButton;
class QTimer;

namespace platform {
class WebBrowser;
}

// The help and record window: shows help pages and the pages the program hands it (the
// list loader's error report, repository replies). Created on first use, hidden when closed.
class frmHelpBrowser : public QDialog {
    Q_OBJECT
public:
    explicit frmHelpBrowser(QWidget* parent = nullptr);
    // The one window of the program, created on first use.
    static frmHelpBrowser& instance();

    // Puts an HTML page into the window's buffer; the window's timer shows it.
    void setHTML(const QString& html);
    // The page waiting in the buffer ("" when nothing waits).
    QString receivedHTML;

    platform::WebBrowser* WebBrowser1;
    QPushButton* cmdClose;
    QTimer* Timer1;

    // Shows what waits in the buffer and empties it.
    void Timer1_Timer();
};

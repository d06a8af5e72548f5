#pragma once
#include <QString>

class QMimeData;

// The navigation pane as the other parts of the window see it: files and text dropped on the
// window, the logo and the browser shown or hidden, the busy logo stopped.
class NavigationView {
public:
    virtual ~NavigationView() = default;
    // Text dropped: a command runs, an address opens, a local path opens by its kind, other
    // text goes into the current line's content.
    virtual void LoadDragDrop(const QString& item) = 0;
    // Drops on the window's targets: text goes whole to LoadDragDrop; of several files the
    // later ones go to the history menus and the first is opened.
    virtual void dropOnWindow(const QMimeData* data) = 0;
    virtual void showLogo(bool on) = 0;
    virtual void showBrowser(bool on) = 0;
    virtual void stopBusyAnimation() = 0;
};

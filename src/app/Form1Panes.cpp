// Pane helpers the shell's layout and keys share.
#include "app/Form1.h"

#include "platform/MsgBox.h"

#include <QApplication>
#include <QFrame>
#include <QMimeData>
#include <QFileInfo>
#include <QUrl>

void Form1::setupMetaPanelColumns() {}

bool Form1::metaPanelVisible() const {
    return mnuViewQuorvantile && mnuViewQuorvantile->isChecked();
}

void Form1::metaPanelColumnWidths(double& name, double& lang, double& scheme) const {
    name = 1400;
    lang = 400;
    scheme = 1400;
}

bool Form1::activeTreeVisible() const {
    return false;
}

double Form1::activeTreeWidth() const {
    return 0;
}

void Form1::placeMetaPanel(const Layout::Result&) {}

void Form1::placeTrees(const Layout::Result&) {}

void Form1::placeEditPanelControls(const Layout::Result&) {}

void Form1::moveCurrentLine(int) {
    QApplication::beep();
}

void Form1::stopBrowser() {}

void Form1::navigateBrowser(const QString&) {}

// Drops on the logo (and the other drop targets that share the rule): text goes whole to
// LoadDragDrop; of several files the later ones go to the history menus and the first is opened.
void Form1::dropOnWindow(const QMimeData* data) {
    if (!data) return;
    if (data->hasUrls()) {
        QStringList files;
        for (const QUrl& url : data->urls()) {
            if (url.isLocalFile()) files << url.toLocalFile();
        }
        if (!files.isEmpty()) {
            for (int i = 1; i < files.size(); ++i) prevNextLoad2(files.at(i));
            QString firstFile = files.first();
            if (QFileInfo(firstFile).isDir() && !firstFile.endsWith(QLatin1Char('/'))) firstFile += QLatin1Char('/');
            LoadDragDrop(firstFile);
            return;
        }
    }
    if (data->hasText()) LoadDragDrop(data->text());
}

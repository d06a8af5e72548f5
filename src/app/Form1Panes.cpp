// Pane helpers the shell's layout and keys share.
#include "app/Form1.h"
#include "gui/record/RecordPane.h"

#include "core/record/Record.h"
#include "gui/record/MetaPanelView.h"
#include "platform/MsgBox.h"
#include "gui/catalogues/ListTreeView.h"
#include "platform/Twips.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QFrame>
#include <QMimeData>
#include <QScrollBar>
#include <QUrl>

using platform::twipsToPixels;

// Drops on the logo (and the other drop targets that share the rule): text goes whole to
// LoadDragDrop; of several files the later ones go to the history menus and the first is
// opened, a folder with "/" after it.
void Form1::dropOnWindow(const QMimeData* data) {
    if (!data) return;
    if (data->hasUrls()) {
        QStringList files;
        for (const QUrl& url : data->urls()) {
            if (url.isLocalFile()) files << url.toLocalFile();
        }
        if (!files.isEmpty()) {
            for (int i = 1; i < files.size(); ++i) prevNextLoad2(1, files.at(i), files.at(i));
            QString firstFile = files.first();
            if (QFileInfo(firstFile).isDir() && !firstFile.endsWith(QLatin1Char('/'))) firstFile += QLatin1Char('/');
            LoadDragDrop(firstFile);
            return;
        }
    }
    if (data->hasText()) LoadDragDrop(data->text());
}

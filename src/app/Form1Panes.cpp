// Pane helpers the shell's layout and keys share.
#include "app/Form1.h"

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

namespace {

// The usual longest element name, which the Name column shows whole.
const QString kLongName = QStringLiteral("DC.Date.Modified");

}  // namespace

// The designed widths, widened where the font needs more.
void Form1::setupMetaPanelColumns() {
    MetaPanel->setColumnWidthTwips(Record::Name, std::max({1400, MetaPanel->boldTextWidthTwips(kLongName),
                                                           MetaPanel->headerWidthTwips(Record::Name)}));
    MetaPanel->setColumnWidthTwips(Record::Lang, std::max(400, MetaPanel->headerWidthTwips(Record::Lang)));
    MetaPanel->setColumnWidthTwips(Record::Scheme, std::max(1400, MetaPanel->headerWidthTwips(Record::Scheme)));
    documentState->setSaveCaption(QStringLiteral("Save Record..."));
    MetaPanel->setColumnWidthTwips(Record::Content,
                                   std::max(300, platform::pixelsToTwips(clientArea->width()) - 3200));
}

bool Form1::metaPanelVisible() const {
    return !MetaPanel->isHidden();
}

void Form1::metaPanelColumnWidths(double& name, double& lang, double& scheme) const {
    name = MetaPanel->columnWidthTwips(Record::Name);
    lang = MetaPanel->columnWidthTwips(Record::Lang);
    scheme = MetaPanel->columnWidthTwips(Record::Scheme);
}

bool Form1::activeTreeVisible() const {
    return !TreeView1[size_t(context.treeIndex)]->isHidden();
}

void Form1::placeMetaPanel(const Layout::Result& r) {
    MetaPanel->setGeometry(twipsToPixels(r.meta.left), twipsToPixels(r.meta.top),
                           std::max(0, twipsToPixels(r.meta.width)), std::max(0, twipsToPixels(r.meta.height)));
    contentColumnTwips_ = r.contentColumnWidth;
    fitContentColumn();
}

// The Content column takes what the other columns leave (never more than the panel shows,
// so no needless scroll bar, also once lines added show the vertical one), but never vanishes.
void Form1::fitContentColumn() {
    const int frame = 2 * MetaPanel->frameWidth();
    const int scrollBar = MetaPanel->verticalScrollBar()->isVisible() ? MetaPanel->verticalScrollBar()->width() : 0;
    const double room = platform::pixelsToTwips(MetaPanel->width() - frame - scrollBar) -
                        (MetaPanel->columnWidthTwips(Record::Name) + MetaPanel->columnWidthTwips(Record::Lang) +
                         MetaPanel->columnWidthTwips(Record::Scheme));
    const double least = std::max(600, MetaPanel->headerWidthTwips(Record::Content));
    MetaPanel->setColumnWidthTwips(Record::Content, int(std::max(least, std::min(contentColumnTwips_, room))));
}

void Form1::placeTrees(const Layout::Result& r) {
    if (!activeTreeVisible()) return;
    const QRect rect(twipsToPixels(r.tree.left), twipsToPixels(r.tree.top), std::max(0, twipsToPixels(r.tree.width)),
                     std::max(0, twipsToPixels(r.tree.height)));
    for (ListTreeView* tree : TreeView1) tree->setGeometry(rect);
}


// Up or Down in one of the edit panel's lists moves the current line of the record.
void Form1::moveCurrentLine(int step) {
    const Record::LineId current = record->selectedLine();
    if (!current) {
        QApplication::beep();
        return;
    }
    const int index = record->positionOf(current);
    if ((step < 0 && index < 2) || (step > 0 && index >= record->count())) {
        QApplication::beep();
        return;
    }
    record->setBold(current, false);
    const Record::LineId next = record->idAt(index + step);
    record->selectOnly(next);
    record->setBold(next, true);
    MetaPanel->showLine(next);
    fillingEditPanel = true;
    editCurrentLine();
    fillingEditPanel = false;
}


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

// Pane helpers the shell's layout and keys share.
#include "app/Form1.h"

#include "platform/ListView.h"
#include "platform/MsgBox.h"
#include "platform/TreeView.h"
#include "platform/Twips.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QFrame>
#include <QHeaderView>
#include <QMimeData>
#include <QScrollBar>
#include <QStyleOptionViewItem>
#include <QUrl>

using platform::twipsToPixels;

namespace {

// The usual longest element name, which the Name column shows whole.
const QString kLongName = QStringLiteral("DC.Date.Modified");

// Twips a column needs for this text in a line, bold as the current line shows it.
int lineTextTwips(const platform::ListView& view, const QString& text) {
    QStyleOptionViewItem option;
    option.initFrom(&view);
    option.widget = &view;
    option.font = view.font();
    option.font.setBold(true);
    option.fontMetrics = QFontMetrics(option.font);
    option.text = text;
    option.features = QStyleOptionViewItem::HasDisplay;
    return platform::pixelsToTwips(view.style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), &view).width());
}

// Twips a column needs for its header's whole text.
int headerTwips(const platform::ListView& view, int column) {
    return platform::pixelsToTwips(view.header()->sectionSizeHint(column - 1));
}

}  // namespace

// The designed widths, widened where the font needs more.
void Form1::setupMetaPanelColumns() {
    MetaPanel->ColumnHeaders(1)->setWidth(
        std::max({1400, lineTextTwips(*MetaPanel, kLongName), headerTwips(*MetaPanel, 1)}));
    MetaPanel->ColumnHeaders(3)->setWidth(std::max(400, headerTwips(*MetaPanel, 3)));
    MetaPanel->ColumnHeaders(4)->setWidth(std::max(1400, headerTwips(*MetaPanel, 4)));
    MetaPanel->ColumnHeaders(2)->setTag(QStringLiteral("Record"));
    documentState->setSaveCaption(QStringLiteral("Save ") + MetaPanel->ColumnHeaders(2)->Tag() + QStringLiteral("..."));
    const Form1* main = firstMainWindow() ? firstMainWindow() : this;
    MetaPanel->ColumnHeaders(2)->setWidth(
        std::max(300, platform::pixelsToTwips(main->clientArea->width()) - 3200));
}

bool Form1::metaPanelVisible() const {
    return !MetaPanel->isHidden();
}

void Form1::metaPanelColumnWidths(double& name, double& lang, double& scheme) const {
    name = MetaPanel->ColumnHeaders(1)->Width();
    lang = MetaPanel->ColumnHeaders(3)->Width();
    scheme = MetaPanel->ColumnHeaders(4)->Width();
}

bool Form1::activeTreeVisible() const {
    return !TreeView1[size_t(treeIndex)]->isHidden();
}

void Form1::placeMetaPanel(const Layout::Result& r) {
    MetaPanel->setGeometry(twipsToPixels(r.meta.left), twipsToPixels(r.meta.top),
                           std::max(0, twipsToPixels(r.meta.width)), std::max(0, twipsToPixels(r.meta.height)));
    // The Content column takes what the other columns leave (never more than the panel
    // shows, so no needless scroll bar), but never vanishes.
    const int frame = 2 * MetaPanel->frameWidth();
    const int scrollBar = MetaPanel->verticalScrollBar()->isVisible() ? MetaPanel->verticalScrollBar()->width() : 0;
    const double room = platform::pixelsToTwips(MetaPanel->width() - frame - scrollBar) -
                        (MetaPanel->ColumnHeaders(1)->Width() + MetaPanel->ColumnHeaders(3)->Width() +
                         MetaPanel->ColumnHeaders(4)->Width());
    const double least = std::max(600, headerTwips(*MetaPanel, 2));
    MetaPanel->ColumnHeaders(2)->setWidth(int(std::max(least, std::min(r.contentColumnWidth, room))));
}

void Form1::placeTrees(const Layout::Result& r) {
    if (!activeTreeVisible()) return;
    const QRect rect(twipsToPixels(r.tree.left), twipsToPixels(r.tree.top), std::max(0, twipsToPixels(r.tree.width)),
                     std::max(0, twipsToPixels(r.tree.height)));
    for (platform::TreeView* tree : TreeView1) tree->setGeometry(rect);
}


// Up or Down in one of the edit panel's lists moves the current line of the record.
void Form1::moveCurrentLine(int step) {
    platform::ListItem* current = MetaPanel->SelectedItem();
    if (!current) {
        QApplication::beep();
        return;
    }
    const int index = current->Index();
    if ((step < 0 && index < 2) || (step > 0 && index >= MetaPanel->Count())) {
        QApplication::beep();
        return;
    }
    current->setBold(false);
    platform::ListItem* next = MetaPanel->Item(index + step);
    MetaPanel->setSelectedItem(next);
    next->setBold(true);
    next->EnsureVisible();
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

// The record pane's making and its layout.
#include "gui/record/RecordPane.h"

#include "gui/frame/WindowFrame.h"
#include "gui/record/MetaPanelView.h"
#include "core/program/ProgramContext.h"
#include "core/record/Record.h"
#include "platform/Twips.h"

#include <QScrollBar>
#include <QWidget>

namespace {

// The usual longest element name, which the Name column shows whole.
const QString kLongName = QStringLiteral("DC.Date.Modified");

}  // namespace

// The parts are made in the order of their controls in the window: the metadata panel, then
// the edit panel with the content field and the scheme values' buttons inside it. A part
// given one made after it only keeps it for later.
RecordPane::RecordPane(ProgramContext& context, WindowFrame& frame, const RecordNeighbours& around)
    : QObject(frame.clientArea()), context(context), frame(frame), around_(around),
      events_(context, frame, around_, guards_, saving_, editPanel_, content_, schemes_),
      saving_(context, around_, events_.cancelEditingItem(), editPanel_),
      schemes_(context, frame, around_, guards_, content_, saving_),
      content_(context, frame, around_, guards_, saving_, editPanel_, schemes_, events_.cancelEditingItem()),
      editPanel_(context, frame, around_, guards_, saving_, content_, schemes_, events_, events_.contextMenu(),
                 events_.cancelEditingItem()),
      loading_(context, frame, around_, guards_, saving_, editPanel_, events_) {
    setObjectName(QStringLiteral("recordPane"));
    connect(&events_.view(), &MetaPanelView::viewportWidthChanged, this, [this] {
        if (contentColumnTwips_ > 0) fitContentColumn();
    });
}

RecordPane::~RecordPane() = default;

void RecordPane::setupMetaPanelColumns() {
    MetaPanelView& panel = events_.view();
    panel.setColumnWidthTwips(Record::Name, std::max({1400, panel.boldTextWidthTwips(kLongName),
                                                      panel.headerWidthTwips(Record::Name)}));
    panel.setColumnWidthTwips(Record::Lang, std::max(400, panel.headerWidthTwips(Record::Lang)));
    panel.setColumnWidthTwips(Record::Scheme, std::max(1400, panel.headerWidthTwips(Record::Scheme)));
    context.document.setSaveCaption(QStringLiteral("Save Record..."));
    panel.setColumnWidthTwips(Record::Content,
                              std::max(300, platform::pixelsToTwips(frame.clientArea()->width()) - 3200));
}

void RecordPane::describe(Layout::Input& in) const {
    const MetaPanelView& panel = events_.view();
    in.metaVisible = events_.metaPanelShown();
    in.editVisible = editPanel_.editPanelShown();
    in.nameWidth = panel.columnWidthTwips(Record::Name);
    in.langWidth = panel.columnWidthTwips(Record::Lang);
    in.schemeWidth = panel.columnWidthTwips(Record::Scheme);
}

void RecordPane::place(const Layout::Result& r) {
    if (!editPanel_.place(r)) return;
    events_.view().setGeometry(pixelRect(r.meta));
    contentColumnTwips_ = r.contentColumnWidth;
    fitContentColumn();
}

// The Content column takes what the other columns leave (never more than the panel shows,
// so no needless scroll bar, also once lines added show the vertical one), but never vanishes.
void RecordPane::fitContentColumn() {
    MetaPanelView& panel = events_.view();
    const int frameWidth = 2 * panel.frameWidth();
    const int scrollBar = panel.verticalScrollBar()->isVisible() ? panel.verticalScrollBar()->width() : 0;
    const double room = platform::pixelsToTwips(panel.width() - frameWidth - scrollBar) -
                        (panel.columnWidthTwips(Record::Name) + panel.columnWidthTwips(Record::Lang) +
                         panel.columnWidthTwips(Record::Scheme));
    const double least = std::max(600, panel.headerWidthTwips(Record::Content));
    panel.setColumnWidthTwips(Record::Content, int(std::max(least, std::min(contentColumnTwips_, room))));
}

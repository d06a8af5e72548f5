#include "gui/record/MetaPanelView.h"

#include "gui/record/RecordModel.h"
#include "platform/DataObject.h"
#include "platform/widgets/KeyCodes.h"
#include "platform/widgets/Modal.h"
#include "platform/Twips.h"

#include <QDragEnterEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QResizeEvent>

using platform::pixelsToTwips;
using platform::twipsToPixels;

MetaPanelView::MetaPanelView(Record& record, platform::ModalRuns& runs, QWidget* parent)
    : PaneTreeView(runs, parent), record_(record), model_(new RecordModel(record, this)) {
    setModel(model_);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setAllColumnsShowFocus(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDropIndicatorShown(false);
    viewport()->setMouseTracking(true);
    header()->setStretchLastSection(false);
    header()->setSectionsClickable(true);
    header()->setSectionsMovable(false);
    for (int column = 0; column < Record::kColumns; ++column) setColumnWidthTwips(column, 1440);
    updateLook();

    connect(header(), &QHeaderView::sectionClicked, this, [this](int column) {
        if (handlers_) handlers_->columnClick(column);
    });
    connect(header(), &QHeaderView::sectionResized, this, [this](int column, int, int size) {
        // The user dragged a border: the layout works with the width the user left.
        if (!settingWidth_ && column >= 0 && column < Record::kColumns) widthTwips_[size_t(column)] = pixelsToTwips(size);
    });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { takeViewSelection(); });
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this] { takeViewSelection(); });
    connect(&record, &Record::selectionChanged, this, [this] { showRecordSelection(); });
    connect(model_, &RecordModel::rowsRebuilt, this, [this] { showRecordSelection(); });
}

MetaPanelView::~MetaPanelView() = default;

// ---- what the layout needs ---------------------------------------------------------------

int MetaPanelView::columnWidthTwips(int column) const {
    return column >= 0 && column < Record::kColumns ? widthTwips_[size_t(column)] : 0;
}

void MetaPanelView::setColumnWidthTwips(int column, int twips) {
    if (column < 0 || column >= Record::kColumns) return;
    widthTwips_[size_t(column)] = std::max(0, twips);
    settingWidth_ = true;
    header()->resizeSection(column, twipsToPixels(widthTwips_[size_t(column)]));
    settingWidth_ = false;
}

int MetaPanelView::headerWidthTwips(int column) const {
    if (column < 0 || column >= Record::kColumns) return 0;
    // Asked at every layout, and measuring the caption is not cheap: kept until the font changes.
    int& width = headerWidths_[size_t(column)];
    if (width < 0) width = pixelsToTwips(header()->sectionSizeHint(column));
    return width;
}

namespace {
// The size the style gives a line's cell showing `text`.
QSize cellSize(const QWidget* view, const QString& text, bool bold) {
    QStyleOptionViewItem option;
    option.initFrom(view);
    option.widget = view;
    option.font = view->font();
    option.font.setBold(bold);
    option.fontMetrics = QFontMetrics(option.font);
    option.text = text;
    option.features = QStyleOptionViewItem::HasDisplay;
    return view->style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), view);
}
}  // namespace

int MetaPanelView::boldTextWidthTwips(const QString& text) const {
    return pixelsToTwips(cellSize(this, text, true).width());
}

int MetaPanelView::rowHeightTwips() const {
    // The lines are all as high as the first; without one, as high as the style draws one.
    const QModelIndex first = model_->index(0, 0);
    const int pixels = first.isValid() ? indexRowSizeHint(first) : 0;
    return pixelsToTwips(pixels > 0 ? pixels : cellSize(this, QStringLiteral("Xg"), false).height());
}

int MetaPanelView::headerHeightTwips() const {
    return pixelsToTwips((header()->isHidden() ? 0 : header()->sizeHint().height()) + 2 * frameWidth());
}

MetaPanelView::Cell MetaPanelView::cellAt(int x, int y) const {
    const QPoint point = viewport()->mapFrom(this, QPoint(twipsToPixels(x), twipsToPixels(y)));
    if (!viewport()->rect().contains(point)) return {};
    const QModelIndex index = indexAt(point);
    if (!index.isValid()) return {};
    return {index.row() + 1, columnAt(point.x())};
}

// ---- the record's changes on screen ------------------------------------------------------

void MetaPanelView::showLine(Record::LineId id) {
    if (model_->held()) pendingLine_ = id;
    else scrollToLine(id);
}

void MetaPanelView::scrollToLine(Record::LineId id) {
    const QModelIndex index = model_->indexOf(id);
    if (index.isValid()) scrollTo(index);
}

void MetaPanelView::hold(bool hold) {
    if (hold == model_->held()) return;
    model_->hold(hold);
    if (hold) return;
    catchUp();
    if (std::exchange(repaintHeld_, false)) viewport()->update();
}

void MetaPanelView::refresh() {
    if (model_->held()) repaintHeld_ = true;
    else viewport()->update();
}

// Shows what the record did while held; input acts on the lines as they are.
void MetaPanelView::catchUp() {
    model_->showHeldChanges();
    if (std::exchange(selectionHeld_, false)) pushSelection();
    if (const Record::LineId id = std::exchange(pendingLine_, 0)) scrollToLine(id);
}

void MetaPanelView::setDropHighlight(Record::LineId id) {
    model_->setDropHighlight(id);
}

Record::LineId MetaPanelView::dropHighlight() const {
    return model_->dropHighlight();
}

void MetaPanelView::updateLook() {
    QFont bold = font();
    bold.setBold(true);
    model_->setBoldFont(bold);
    model_->setHighlight(palette().highlight(), palette().highlightedText());
}

// A panel made lower keeps its current line in sight.
void MetaPanelView::resizeEvent(QResizeEvent* event) {
    QTreeView::resizeEvent(event);
    if (event->size().height() < event->oldSize().height() && !model_->held() && currentIndex().isValid())
        scrollTo(currentIndex());
}

void MetaPanelView::changeEvent(QEvent* event) {
    QTreeView::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) headerWidths_.fill(-1);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange) updateLook();
}

// ---- the selection, both ways --------------------------------------------------------------

void MetaPanelView::showRecordSelection() {
    if (model_->held()) selectionHeld_ = true;
    else pushSelection();
}

void MetaPanelView::pushSelection() {
    if (syncing_) return;
    syncing_ = true;
    QItemSelection selection;
    for (const Record::LineId id : record_.selection()) {
        const QModelIndex row = model_->indexOf(id);
        if (row.isValid()) selection.select(row, row.siblingAtColumn(Record::kColumns - 1));
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    selectionModel()->setCurrentIndex(model_->indexOf(record_.currentLine()), QItemSelectionModel::NoUpdate);
    syncing_ = false;
}

void MetaPanelView::takeViewSelection() {
    // Rows that stand for other lines until the held changes are shown say nothing.
    if (syncing_ || model_->rowCount() != record_.count()) return;
    QList<Record::LineId> ids;
    for (const QModelIndex& row : selectionModel()->selectedRows()) ids.append(model_->idOf(row));
    syncing_ = true;
    record_.setSelection(ids, model_->idOf(currentIndex()));
    syncing_ = false;
}

// ---- keys --------------------------------------------------------------------------------

void MetaPanelView::keyPressEvent(QKeyEvent* event) {
    QPointer<MetaPanelView> self(this);
    catchUp();
    if (handlers_) {
        const int code = platform::keyCodeOf(event->key(), event->modifiers());
        if (code != 0 && handlers_->keyDown(code, platform::shiftStateOf(event->modifiers()))) {
            if (self) event->accept();
            return;
        }
        if (!self) return;
        for (const char32_t c : platform::typedText(event).toUcs4()) {
            if (c == 0x7f) continue;  // Delete types nothing
            if (handlers_->keyPress(int(c))) {
                if (self) event->accept();
                return;
            }
            if (!self) return;
        }
    }
    QTreeView::keyPressEvent(event);
}

void MetaPanelView::keyReleaseEvent(QKeyEvent* event) {
    QPointer<MetaPanelView> self(this);
    const int code = platform::keyCodeOf(event->key(), event->modifiers());
    if (handlers_ && !event->isAutoRepeat() && code != 0) handlers_->keyUp(code, platform::shiftStateOf(event->modifiers()));
    if (self) QTreeView::keyReleaseEvent(event);
}

// Typed characters belong to the current line's content, never to a search for a line.
void MetaPanelView::keyboardSearch(const QString&) {}

// ---- mouse -------------------------------------------------------------------------------

void MetaPanelView::mousePressEvent(QMouseEvent* event) {
    catchUp();
    QTreeView::mousePressEvent(event);
}

void MetaPanelView::mouseMoveEvent(QMouseEvent* event) {
    QPointer<MetaPanelView> self(this);
    if (handlers_) {
        const QPoint twips = twipsFromViewportPoint(event->position().toPoint());
        handlers_->mouseMove(platform::buttonsOf(event->buttons()), platform::shiftStateOf(event->modifiers()), twips.x(),
                             twips.y());
    }
    if (self) QTreeView::mouseMoveEvent(event);
}

void MetaPanelView::mouseReleaseEvent(QMouseEvent* event) {
    QPointer<MetaPanelView> self(this);
    QTreeView::mouseReleaseEvent(event);
    if (!self || !handlers_) return;
    const QPoint twips = twipsFromViewportPoint(event->position().toPoint());
    handlers_->mouseUp(platform::buttonOf(event->button()), platform::shiftStateOf(event->modifiers()), twips.x(),
                       twips.y());
}

void MetaPanelView::mouseDoubleClickEvent(QMouseEvent* event) {
    QPointer<MetaPanelView> self(this);
    catchUp();
    QTreeView::mouseDoubleClickEvent(event);
    if (self && handlers_ && event->button() == Qt::LeftButton) handlers_->doubleClick();
}

bool MetaPanelView::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Resize) {
        const auto* resize = static_cast<QResizeEvent*>(event);
        if (resize->size().width() != resize->oldSize().width()) Q_EMIT viewportWidthChanged();
    }
    return PaneTreeView::viewportEvent(event);
}

// ---- drag and drop -----------------------------------------------------------------------

QMimeData* MetaPanelView::dragData() {
    auto* mime = new QMimeData;
    if (handlers_) {
        const QString text = handlers_->dragText();
        if (!text.isEmpty()) mime->setText(text);
    }
    return mime;
}

void MetaPanelView::startDrag(Qt::DropActions) {
    QPointer<MetaPanelView> self(this);
    QMimeData* mime = dragData();
    if (!self) {
        delete mime;
        return;
    }
    // Whatever the target did, no line leaves the panel here: a move is the drop's own work.
    runOwnDrag(mime);
}

namespace {
void acceptAsCopy(QDropEvent* event) {
    if (event->possibleActions().testFlag(Qt::CopyAction)) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->acceptProposedAction();
    }
}
}  // namespace

void MetaPanelView::dragEnterEvent(QDragEnterEvent* event) {
    QPointer<MetaPanelView> self(this);
    catchUp();
    dragMoveEvent(event);
    // Keep receiving the moves, so the handlers see them all.
    if (self) event->accept();
}

void MetaPanelView::dragMoveEvent(QDragMoveEvent* event) {
    QPointer<MetaPanelView> self(this);
    if (handlers_) {
        const platform::DataObject data(event->mimeData(), platform::dropSource(*event));
        const QPoint twips = twipsFromViewportPoint(event->position().toPoint());
        handlers_->dragOver(data, twips.x(), twips.y());
    }
    if (self) acceptAsCopy(event);
}

void MetaPanelView::dragLeaveEvent(QDragLeaveEvent* event) {
    event->accept();
    setDropHighlight(0);
}

void MetaPanelView::dropEvent(QDropEvent* event) {
    QPointer<MetaPanelView> self(this);
    catchUp();
    if (handlers_) {
        const platform::DataObject data(event->mimeData(), platform::dropSource(*event));
        const QPoint twips = twipsFromViewportPoint(event->position().toPoint());
        handlers_->drop(data, twips.x(), twips.y());
    }
    // Reported as a copy: the handlers moved what moves, and the drag removes nothing.
    if (self) acceptAsCopy(event);
}

// The main window as the command language sees it.
#include "gui/app/MainCommandWindow.h"

#include "gui/frame/AddressBar.h"
#include "gui/frame/ContentBox.h"
#include "gui/frame/DocumentMenu.h"
#include "gui/frame/HelpPages.h"
#include "gui/frame/Layout.h"
#include "gui/frame/ListDocument.h"
#include "gui/frame/ListFiles.h"
#include "gui/frame/ListPane.h"
#include "gui/frame/Navigation.h"
#include "gui/frame/NavigationView.h"
#include "gui/frame/PageBrowser.h"
#include "gui/frame/RecordDocument.h"
#include "gui/frame/RecordEditing.h"
#include "gui/frame/RecordView.h"
#include "gui/frame/ViewMarks.h"
#include "gui/frame/WindowFrame.h"
#include "gui/commands/frmWaitProcess.h"
#include "core/program/ProgramContext.h"
#include "core/commands/modMTP.h"
#include "platform/widgets/StatusBar.h"
#include "platform/Twips.h"
#include "core/record/modCharEncoding.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLineEdit>

namespace {

class MainCommandWindow final : public CommandWindow {
public:
    MainCommandWindow(ProgramContext& context, WindowFrame& frame, const MainWindowParts& parts)
        : context(context), f(frame), p(parts) {}

    void showLine(Record::LineId id) override { p.recordView.showLine(id); }
    void repaintRecord() override { p.recordView.refreshMetaPanel(); }
    void selectLine(int position) override { p.recordView.SelectLine(position); }
    void editCurrentLine() override { fillEditPanel(Fill::Current); }
    void editProposedLine() override { fillEditPanel(Fill::Proposed); }
    int markRecordModified(const QString& reason) override { return p.record.markHTMLmodifiedCheckList(reason); }
    void clearRecord() override {
        context.record.clear();
        p.recordEditing.EditPanelOff();
        p.browser.focusBrowser();
    }
    bool editPanelShown() const override { return p.recordEditing.editPanelShown(); }
    void showInEditPanel(const QString& content) override {
        if (!p.recordEditing.editPanelShown()) return;
        // While the panes are held the box takes the line once they are let go: a value that
        // grows with every command of a batch, laid out again each time, would cost the
        // batch the square of its length.
        heldLine_ = held_ ? context.record.selectedLine() : 0;
        if (!held_) showContent(content);
    }
    void makeRoomForEditPanel() override {
        const int shown = p.recordEditing.editPanelHeight();
        const double height = shown > 0 ? platform::pixelsToTwips(shown) : Layout::kEditPanelHeight;
        f.moveHSplitter(f.splitterY() - height);
    }
    void layOut() override { f.relayout(); }
    QString recordAsMetaBlock() const override { return p.record.metadataAsHtml(); }
    bool saveRecordAsPage(const QString& path) override { return p.record.SaveAsHTML(path); }
    bool saveRecordAsBatch(const QString& path) override { return p.record.SaveAsBatch(path); }

    PageLoad openPage(const QString& location) override { return p.navigation.openPageForCommand(location); }
    QString pageAddress() const override { return p.browser.browserLocationURL(); }
    QString pageTitle() const override { return p.browser.browserLocationName(); }
    void addToAddressHistory(const QString& address) override { p.address.URLAddItem(address); }
    void showHelpPage(const QString& html) override { p.help.showHelpHtml(html); }
    platform::Inet& transfer() override { return p.browser.inet(); }
    QString addressText() const override { return p.address.addressText(); }
    platform::Inet& repositoryTransfer() override { return p.help.repositoryTransfer(); }

    void showListPane(int index, bool shown) override { p.listPane.showListPane(index, shown); }
    int saveListCheck(const QString& reason) override { return p.list.saveListCheck(reason); }
    bool saveList(const QString& path) override { return p.list.SaveAsList(path); }
    void mnuFileDraw() override { p.fileMenu.mnuFileDraw(); }
    bool saveHarvestList(bool agls12Form, const QString& path, const QString& folder) override {
        return p.listFiles.saveHarvestList(agls12Form, path, folder);
    }
    ListLoadOutcome loadHarvestList(const QString& location) override { return p.listFiles.loadHarvestList(location); }
    bool saveChannel(const QString& path) override { return p.listFiles.saveChannel(path); }
    ListLoadOutcome loadChannel(const QString& location) override { return p.listFiles.loadChannel(location); }
    void openRecordFromHarvestFolder(const QString& folder) override { p.listFiles.openRecordFromHarvestFolder(folder); }
    void setMnuFileSaveAs() override { p.fileMenu.setMnuFileSaveAs(); }
    bool treeViewChecked() const override { return p.viewMenu.treeViewChecked(); }
    void checkTreeView() override { p.viewMenu.setTreeViewChecked(true); }
    void clickTreeView() override { p.viewMenu.mnuViewTreeView_Click(); }
    void enableSaveList() override { p.fileMenu.enableSaveList(); }
    void setSaveAsCatalogueCaption(const QString& caption) override {
        p.fileMenu.setSaveAsCaption(DocumentMenu::kSaveAsCatalogue, caption);
    }

    bool shiftDown() const override { return f.shiftDown(); }
    void stopBusyAnimation() override { p.navigationView.stopBusyAnimation(); }
    void showWaitModal() override { frmWaitProcess::Load(context).showModal(f.clientArea()->window(), f.modalRuns()); }
    void showPageNotice(const QString& text) override { p.browser.showNotice(text); }
    void showListProgress(const QString& text) override { p.listFiles.showListProgress(text); }
    void holdPainting(bool hold) override {
        held_ = hold;
        if (!hold && heldLine_ && context.record.selectedLine() == heldLine_ && p.recordEditing.editPanelShown())
            showContent(context.record.cell(heldLine_, Record::Content));
        if (!hold) heldLine_ = 0;
        if (!hold && heldFill_ != Fill::None) fillEditPanelNow(heldFill_);
        p.recordView.hold(hold);
        f.statusBar().setUpdatesEnabled(!hold);
        p.listPane.hold(hold);
    }
    void setMacroItem(int number, const QString& caption, const QString& command, bool shown) override {
        // The function keys' items, as the Macros menu holds them (none for F10).
        QAction* item = f.clientArea()->window()->findChild<QAction*>(QStringLiteral("mnuBatchF%1").arg(number));
        if (!item) return;
        item->setText(caption);
        item->setData(command);
        item->setVisible(shown);
    }
    void showMenuItem(const QString& objectName, bool shown) override {
        if (QAction* item = f.clientArea()->window()->findChild<QAction*>(objectName)) item->setVisible(shown);
    }
    void setMenuItemCaption(const QString& objectName, const QString& caption) override {
        if (QAction* item = f.clientArea()->window()->findChild<QAction*>(objectName)) item->setText(caption);
    }

private:
    enum class Fill { None, Current, Proposed };
    // The edit panel shows the selected line. While a batch runs with the panes held, the
    // panel is opened at once (the next command asks whether it is shown) but its fields are
    // filled once the panes are let go, for the line selected then: a batch that adds
    // thousands of lines fills them once per paint. Input for the panel meanwhile fills them
    // first, so nothing typed goes into a line the fields do not show.
    void fillEditPanel(Fill fill) {
        heldLine_ = 0;
        if (held_ && modMTP::batchRunning(context)) {
            if (!p.recordEditing.editPanelShown() && context.record.selectedLine()) p.recordEditing.EditPanelOn();
            if (heldFill_ == Fill::None) qApp->installEventFilter(&inputWatch_);
            heldFill_ = fill;
            return;
        }
        fillEditPanelNow(fill);
    }
    void fillEditPanelNow(Fill fill) {
        if (std::exchange(heldFill_, Fill::None) != Fill::None) qApp->removeEventFilter(&inputWatch_);
        if (fill == Fill::Proposed) p.recordEditing.editProposedLine();
        else p.recordEditing.editCurrentLine();
    }

    class InputWatch : public QObject {
    public:
        explicit InputWatch(MainCommandWindow& window) : window_(window) {}
        bool eventFilter(QObject* watched, QEvent* event) override {
            switch (event->type()) {
            case QEvent::KeyPress:
            case QEvent::ShortcutOverride:
            case QEvent::MouseButtonPress:
            case QEvent::InputMethod:
            case QEvent::FocusIn:
                if (auto* widget = qobject_cast<QWidget*>(watched);
                    widget && window_.p.recordEditing.editPanelHolds(widget) && window_.heldFill_ != Fill::None)
                    window_.fillEditPanelNow(window_.heldFill_);
                break;
            default:
                break;
            }
            return false;
        }

    private:
        MainCommandWindow& window_;
    };

    // Shown decoded, as the panel shows any line, and not written back into the line.
    void showContent(const QString& content) {
        p.contentBox.showInContentBox(modCharEncoding::decodeContent(content, context.preferences.charEncoding));
    }

    ProgramContext& context;
    WindowFrame& f;
    const MainWindowParts p;
    bool held_ = false;
    Fill heldFill_ = Fill::None;
    InputWatch inputWatch_{*this};
    // The line whose content the edit panel shows once painting is let go.
    Record::LineId heldLine_ = 0;
};

}  // namespace

std::unique_ptr<CommandWindow> makeMainCommandWindow(ProgramContext& context, WindowFrame& frame,
                                                     const MainWindowParts& parts) {
    return std::make_unique<MainCommandWindow>(context, frame, parts);
}

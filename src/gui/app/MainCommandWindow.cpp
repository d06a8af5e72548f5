// The main window as the command language sees it.
#include "gui/app/MainCommandWindow.h"
#include "gui/app/FileMenu.h"
#include "gui/app/ViewMenu.h"
#include "gui/app/NavigationPane.h"
#include "gui/frame/WindowFrame.h"
#include "gui/record/RecordPane.h"
#include "gui/catalogues/TreePane.h"

#include "gui/frame/Layout.h"
#include "gui/app/LogoWidget.h"
#include "gui/app/SplitterGrip.h"
#include "gui/app/frmHelpBrowser.h"
#include "gui/catalogues/HarvestLists.h"
#include "gui/catalogues/ListDocuments.h"
#include "gui/catalogues/modRSS.h"
#include "gui/commands/frmWaitProcess.h"
#include "core/commands/modMTP.h"
#include "gui/app/EditMenu.h"
#include "gui/app/HelpMenu.h"
#include "gui/app/MacrosMenu.h"
#include "gui/record/MetaPanelView.h"
#include "platform/Inet.h"
#include "platform/widgets/StatusBar.h"
#include "gui/catalogues/ListTreeView.h"
#include "platform/Twips.h"
#include "platform/widgets/WebBrowser.h"
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
    MainCommandWindow(ProgramContext& context, WindowFrame& frame) : context(context), f(frame) {}

    void showLine(Record::LineId id) override { f.recordPane().showLine(id); }
    void repaintRecord() override { f.recordPane().refreshMetaPanel(); }
    void selectLine(int position) override { f.recordPane().SelectLine(position); }
    void editCurrentLine() override { fillEditPanel(Fill::Current); }
    void editProposedLine() override { fillEditPanel(Fill::Proposed); }
    int markRecordModified(const QString& reason) override { return f.recordPane().markHTMLmodifiedCheckList(reason); }
    void clearRecord() override {
        context.record.clear();
        f.recordPane().EditPanelOff();
        f.navigationPane().focusBrowser();
    }
    bool editPanelShown() const override { return f.recordPane().editPanelShown(); }
    void showInEditPanel(const QString& content) override {
        if (!f.recordPane().editPanelShown()) return;
        // While the panes are held the box takes the line once they are let go: a value that
        // grows with every command of a batch, laid out again each time, would cost the
        // batch the square of its length.
        heldLine_ = held_ ? context.record.selectedLine() : 0;
        if (!held_) showContent(content);
    }
    void makeRoomForEditPanel() override {
        const int shown = f.recordPane().editPanelHeight();
        const double height = shown > 0 ? platform::pixelsToTwips(shown) : Layout::kEditPanelHeight;
        f.moveHSplitter(f.splitterY() - height);
    }
    void layOut() override { f.relayout(); }
    QString recordAsMetaBlock() const override { return f.editMenu().metadataAsHtml(); }
    bool saveRecordAsPage(const QString& path) override { return f.recordPane().SaveAsHTML(path); }
    bool saveRecordAsBatch(const QString& path) override { return f.recordPane().SaveAsBatch(path); }

    PageLoad openPage(const QString& location) override { return f.navigationPane().openPageForCommand(location); }
    QString pageAddress() const override { return f.navigationPane().browserLocationURL(); }
    QString pageTitle() const override { return f.navigationPane().browserLocationName(); }
    void addToAddressHistory(const QString& address) override {
        QString added = address;
        f.navigationPane().URLAddItem(added);
    }
    void showHelpPage(const QString& html) override {
        frmHelpBrowser& help = f.helpMenu().helpWindow();
        help.setHTML(html);
        help.show();
    }
    platform::Inet& transfer() override { return f.navigationPane().inet(); }
    QString addressText() const override { return f.navigationPane().addressText(); }
    platform::Inet& repositoryTransfer() override { return f.helpMenu().helpWindow().repositoryTransfer(); }

    void showListPane(int index, bool shown) override { f.treePane().showListPane(index, shown); }
    int saveListCheck(const QString& reason) override { return f.treePane().saveListCheck(reason); }
    bool saveList(const QString& path) override {
        QString written = path;
        long count = 0;
        return f.treePane().SaveAsList(written, count);
    }
    void mnuFileDraw() override { f.fileMenu().mnuFileDraw(); }
    bool saveHarvestList(bool agls12Form, const QString& path, const QString& folder) override {
        return agls12Form ? HarvestLists::saveAsAGLS12HCL(f.treePane(), path, folder)
                          : HarvestLists::saveAsHCL(f.treePane(), path, folder);
    }
    ListLoadOutcome loadHarvestList(const QString& location) override { return HarvestLists::loadHCL(f.treePane(), location); }
    bool saveChannel(const QString& path) override { return modRSS::saveRSSChannel(f.treePane(), path); }
    ListLoadOutcome loadChannel(const QString& location) override {
        return modRSS::loadRSSChannel(f.treePane(), location);
    }
    void openRecordFromHarvestFolder(const QString& folder) override { HarvestLists::getMetaFromHCL(f.treePane(), folder); }
    void setMnuFileSaveAs() override { f.fileMenu().setMnuFileSaveAs(); }
    bool treeViewChecked() const override { return f.viewMenu().treeViewChecked(); }
    void checkTreeView() override { f.viewMenu().setTreeViewChecked(true); }
    void clickTreeView() override { f.viewMenu().mnuViewTreeView_Click(); }
    void enableSaveList() override { f.fileMenu().enableSaveList(); }
    void setSaveAsCatalogueCaption(const QString& caption) override { f.fileMenu().setSaveAsCaption(WindowFrame::kSaveAsCatalogue, caption); }

    bool shiftDown() const override { return f.shiftDown(); }
    void stopBusyAnimation() override { f.navigationPane().stopBusyAnimation(); }
    void showWaitModal() override { frmWaitProcess::Load(context).showModal(f.clientArea()->window(), f.modalRuns()); }
    void showPageNotice(const QString& text) override { f.navigationPane().showNotice(text); }
    void showListProgress(const QString& text) override { ListDocuments::showProgress(f.treePane(), text); }
    void holdPainting(bool hold) override {
        held_ = hold;
        if (!hold && heldLine_ && context.record.selectedLine() == heldLine_ && f.recordPane().editPanelShown())
            showContent(context.record.cell(heldLine_, Record::Content));
        if (!hold) heldLine_ = 0;
        if (!hold && heldFill_ != Fill::None) fillEditPanelNow(heldFill_);
        f.recordPane().hold(hold);
        f.statusBar().setUpdatesEnabled(!hold);
        f.treePane().hold(hold);
    }
    void setMacroItem(int number, const QString& caption, const QString& command, bool shown) override {
        QAction* item = f.macrosMenu().keyItem(number);
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
            if (!f.recordPane().editPanelShown() && context.record.selectedLine()) f.recordPane().EditPanelOn();
            if (heldFill_ == Fill::None) qApp->installEventFilter(&inputWatch_);
            heldFill_ = fill;
            return;
        }
        fillEditPanelNow(fill);
    }
    void fillEditPanelNow(Fill fill) {
        if (std::exchange(heldFill_, Fill::None) != Fill::None) qApp->removeEventFilter(&inputWatch_);
        if (fill == Fill::Proposed) f.recordPane().editProposedLine();
        else f.recordPane().editCurrentLine();
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
                    widget && window_.f.recordPane().editPanelHolds(widget) && window_.heldFill_ != Fill::None)
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
        f.recordPane().showInContentBox(modCharEncoding::decodeContent(content, context.preferences.charEncoding));
    }

    ProgramContext& context;
    WindowFrame& f;
    bool held_ = false;
    Fill heldFill_ = Fill::None;
    InputWatch inputWatch_{*this};
    // The line whose content the edit panel shows once painting is let go.
    Record::LineId heldLine_ = 0;
};

}  // namespace

std::unique_ptr<CommandWindow> makeMainCommandWindow(ProgramContext& context, WindowFrame& frame) {
    return std::make_unique<MainCommandWindow>(context, frame);
}

// The main window as the command language sees it.
#include "app/Form1.h"
#include "gui/app/NavigationPane.h"
#include "gui/app/WindowFrame.h"
#include "gui/record/RecordPane.h"
#include "gui/catalogues/TreePane.h"

#include "app/Layout.h"
#include "app/LogoWidget.h"
#include "app/SplitterGrip.h"
#include "app/frmHelpBrowser.h"
#include "catalogues/HarvestLists.h"
#include "catalogues/ListDocuments.h"
#include "catalogues/modRSS.h"
#include "commands/frmWaitProcess.h"
#include "commands/modMTP.h"
#include "gui/app/EditMenu.h"
#include "gui/app/HelpMenu.h"
#include "gui/app/MacrosMenu.h"
#include "gui/record/MetaPanelView.h"
#include "platform/Inet.h"
#include "platform/StatusBar.h"
#include "gui/catalogues/ListTreeView.h"
#include "platform/Twips.h"
#include "platform/WebBrowser.h"
#include "record/modCharEncoding.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLineEdit>

namespace {

class Form1CommandWindow final : public CommandWindow {
public:
    explicit Form1CommandWindow(Form1& window) : w(window) {}

    void showLine(Record::LineId id) override { w.recordPane->showLine(id); }
    void repaintRecord() override { w.recordPane->refreshMetaPanel(); }
    void selectLine(int position) override { w.recordPane->SelectLine(position); }
    void editCurrentLine() override { fillEditPanel(Fill::Current); }
    void editProposedLine() override { fillEditPanel(Fill::Proposed); }
    int markRecordModified(const QString& reason) override { return w.recordPane->markHTMLmodifiedCheckList(reason); }
    void clearRecord() override {
        w.context.record.clear();
        w.recordPane->EditPanelOff();
        w.navigationPane->focusBrowser();
    }
    bool editPanelShown() const override { return w.recordPane->editPanelShown(); }
    void showInEditPanel(const QString& content) override {
        if (!w.recordPane->editPanelShown()) return;
        // While the panes are held the box takes the line once they are let go: a value that
        // grows with every command of a batch, laid out again each time, would cost the
        // batch the square of its length.
        heldLine_ = held_ ? w.context.record.selectedLine() : 0;
        if (!held_) showContent(content);
    }
    void makeRoomForEditPanel() override {
        const int shown = w.recordPane->editPanelHeight();
        const double height = shown > 0 ? platform::pixelsToTwips(shown) : Layout::kEditPanelHeight;
        w.moveHSplitter(w.splitterY() - height);
    }
    void layOut() override {
        double x = w.splitterX();
        double y = w.splitterY();
        w.SizeControls(x, y);
    }
    QString recordAsMetaBlock() const override { return w.editMenu->metadataAsHtml(); }
    bool saveRecordAsPage(const QString& path) override { return w.recordPane->SaveAsHTML(path); }
    bool saveRecordAsBatch(const QString& path) override { return w.recordPane->SaveAsBatch(path); }

    PageLoad openPage(const QString& location) override { return w.navigationPane->openPageForCommand(location); }
    QString pageAddress() const override { return w.navigationPane->browserLocationURL(); }
    QString pageTitle() const override { return w.navigationPane->browserLocationName(); }
    void addToAddressHistory(QString& address) override { w.navigationPane->URLAddItem(address); }
    void showHelpPage(const QString& html) override {
        frmHelpBrowser& help = w.helpMenu->helpWindow();
        help.setHTML(html);
        help.show();
    }
    platform::Inet& transfer() override { return w.navigationPane->inet(); }
    QString addressText() const override { return w.navigationPane->addressText(); }
    platform::Inet& repositoryTransfer() override { return *w.helpMenu->helpWindow().PostInet; }

    void showListPane(int index, bool shown) override { w.treePane->showListPane(index, shown); }
    int saveListCheck(const QString& reason) override { return w.treePane->saveListCheck(reason); }
    bool saveList(QString& path) override {
        long count = 0;
        return w.treePane->SaveAsList(path, count);
    }
    void mnuFileDraw() override { w.mnuFileDraw(); }
    bool saveHarvestList(bool agls12Form, QString& path, QString& folder) override {
        return agls12Form ? modHCL::saveAsAGLS12HCL(*w.treePane, path, folder)
                          : modHCL::saveAsHCL(*w.treePane, path, folder);
    }
    ListDocuments::LoadOutcome loadHarvestList(const QString& location) override { return modHCL::loadHCL(*w.treePane, location); }
    bool saveChannel(QString& path) override { return modRSS::saveRSSChannel(*w.treePane, path); }
    ListDocuments::LoadOutcome loadChannel(const QString& location) override {
        return modRSS::loadRSSChannel(*w.treePane, location);
    }
    void openRecordFromHarvestFolder(QString& folder) override { modHCL::getMetaFromHCL(*w.treePane, folder); }
    void setMnuFileSaveAs() override { w.setMnuFileSaveAs(); }
    bool treeViewChecked() const override { return w.mnuViewTreeView->isChecked(); }
    void checkTreeView() override { w.mnuViewTreeView->setChecked(true); }
    void clickTreeView() override { w.mnuViewTreeView_Click(); }
    void enableSaveList() override { w.mnuFileSaveList->setEnabled(true); }
    void setSaveAsCatalogueCaption(const QString& caption) override { w.mnuFileSaveAs(WindowFrame::kSaveAsCatalogue)->setText(caption); }

    bool shiftDown() const override { return w.shiftDown; }
    void stopBusyAnimation() override { w.navigationPane->stopBusyAnimation(); }
    void showWaitModal(frmWaitProcess& wait) override { wait.showModal(&w); }
    void showListProgress(const QString& text) override { ListDocuments::showProgress(*w.treePane, text); }
    void holdPainting(bool hold) override {
        held_ = hold;
        if (!hold && heldLine_ && w.context.record.selectedLine() == heldLine_ && w.recordPane->editPanelShown())
            showContent(w.context.record.cell(heldLine_, Record::Content));
        if (!hold) heldLine_ = 0;
        if (!hold && heldFill_ != Fill::None) fillEditPanelNow(heldFill_);
        w.recordPane->hold(hold);
        w.StatusBar1->setUpdatesEnabled(!hold);
        w.treePane->hold(hold);
    }
    void setMacroItem(int number, const QString& caption, const QString& command, bool shown) override {
        QAction* item = w.macrosMenu->keyItem(number);
        if (!item) return;
        item->setText(caption);
        item->setData(command);
        item->setVisible(shown);
    }
    void showMenuItem(const QString& objectName, bool shown) override {
        if (QAction* item = w.findChild<QAction*>(objectName)) item->setVisible(shown);
    }
    void setMenuItemCaption(const QString& objectName, const QString& caption) override {
        if (QAction* item = w.findChild<QAction*>(objectName)) item->setText(caption);
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
        if (held_ && modMTP::batchRunning(w.context)) {
            if (!w.recordPane->editPanelShown() && w.context.record.selectedLine()) w.recordPane->EditPanelOn();
            if (heldFill_ == Fill::None) qApp->installEventFilter(&inputWatch_);
            heldFill_ = fill;
            return;
        }
        fillEditPanelNow(fill);
    }
    void fillEditPanelNow(Fill fill) {
        if (std::exchange(heldFill_, Fill::None) != Fill::None) qApp->removeEventFilter(&inputWatch_);
        if (fill == Fill::Proposed) w.recordPane->editProposedLine();
        else w.recordPane->editCurrentLine();
    }

    class InputWatch : public QObject {
    public:
        explicit InputWatch(Form1CommandWindow& window) : window_(window) {}
        bool eventFilter(QObject* watched, QEvent* event) override {
            switch (event->type()) {
            case QEvent::KeyPress:
            case QEvent::ShortcutOverride:
            case QEvent::MouseButtonPress:
            case QEvent::InputMethod:
            case QEvent::FocusIn:
                if (auto* widget = qobject_cast<QWidget*>(watched);
                    widget && window_.w.recordPane->editPanelHolds(widget) && window_.heldFill_ != Fill::None)
                    window_.fillEditPanelNow(window_.heldFill_);
                break;
            default:
                break;
            }
            return false;
        }

    private:
        Form1CommandWindow& window_;
    };

    // Shown decoded, as the panel shows any line, and not written back into the line.
    void showContent(const QString& content) {
        w.recordPane->showInContentBox(modCharEncoding::decodeContent(content, w.context.preferences.charEncoding));
    }

    Form1& w;
    bool held_ = false;
    Fill heldFill_ = Fill::None;
    InputWatch inputWatch_{*this};
    // The line whose content the edit panel shows once painting is let go.
    Record::LineId heldLine_ = 0;
};

}  // namespace

void Form1::connectCommandWindow() {
    commandWindow_ = std::make_unique<Form1CommandWindow>(*this);
    // The first window of the program is the one commands work on.
    if (!context.commands.window) context.commands.window = commandWindow_.get();
}

void Form1::disconnectCommandWindow() {
    if (context.commands.window == commandWindow_.get()) context.commands.window = nullptr;
}

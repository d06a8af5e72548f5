#pragma once
#include "platform/ControlArray.h"
#include "gui/frame/ContentBox.h"
#include "gui/frame/Layout.h"
#include "gui/frame/PaneLayout.h"
#include "gui/frame/RecordDocument.h"
#include "gui/frame/RecordEditing.h"
#include "gui/frame/RecordLoading.h"
#include "gui/frame/RecordView.h"
#include "core/program/ProgramContext.h"
#include "core/domains/SchemeRules.h"

#include <QObject>
#include <QString>

#include <functional>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTimer;
class QWidget;
class MetaPanelView;
class AddressBar;
class DocumentMenu;
class HelpPages;
class ListDocument;
class ListFiles;
class ListPane;
class Navigation;
class NavigationView;
class PageBrowser;
class ViewMarks;
class WindowFrame;

namespace platform {
class DataObject;
struct PageDocument;
}  // namespace platform

// The record pane: the metadata panel showing the record's lines, the edit panel for the
// selected line, their context menu, and reading and writing the record's page.
class RecordPane : public QObject,
                   public RecordDocument,
                   public RecordLoading,
                   public RecordEditing,
                   public ContentBox,
                   public RecordView,
                   public PaneLayout {
    Q_OBJECT
public:
    // What the pane asks of the other panes and the menus.
    struct Neighbours {
        NavigationView& navigationView;
        AddressBar& address;
        Navigation& navigation;
        PageBrowser& browser;
        ListDocument& listDocument;
        ListFiles& listFiles;
        ListPane& listPane;
        DocumentMenu& fileMenu;
        ViewMarks& viewMenu;
        HelpPages& help;
    };
    RecordPane(ProgramContext& context, WindowFrame& frame, const Neighbours& around);
    ~RecordPane() override;
    // The window the pane lies in; its dialogs hang from it.
    QWidget* window() const;

    // The context menu's items.
    enum MetaMenuItem : int {
        kAddCustomLine = 1,
        kAddAglsLine = 2,
        kEditLine = 3,
        kDeleteLine = 5,
        kDeleteAllLines = 6,
        kCloseMetadataView = 8,
        kCancelEditing = 9,
    };

    // ---- reading and writing the page ----------------------------------------------
    // Reads a page's metadata into the panel (or hands a harvest list or channel to the
    // tree). 2: stop (the save question was cancelled, or a list replaced the tree);
    // otherwise the save question's answer.
    int LoadMetadataFromURL(const QString& location, bool keepText) override;
    // What the last LoadMetadataFromURL did with its page.
    PageLoad lastPageLoad() const override { return lastPageLoad_; }
    void forgetPageLoad() override { lastPageLoad_ = PageLoad::NotRead; }
    void setOpenRecordOnLoad(bool on) override { openRecordOnLoad_ = on; }
    // A load parked while the transfer control was busy; Timer1_Timer retries it, every
    // two seconds once the retries are started.
    void Timer1_Timer();
    void startRetries();
    // The record as the meta elements of a page head.
    QString MakeMetaIntoSource() const override;
    // Writes the record into a page file; true when the file was written.
    bool SaveAsHTML(const QString& path) override;
    // Writes the record as a command batch; true when the file was written.
    bool SaveAsBatch(const QString& path) override;
    // Files the record's writers (page, batch) have written so far.
    int filesWritten() const override { return filesWritten_; }
    QString metadataAsHtml() const override;

    // ---- the record's state ---------------------------------------------------------
    void SelectLine(int position) override;
    // The save questions answer 6 Yes, 7 No, 2 Cancel, 0 when nothing was asked.
    int markHTMLmodifiedCheckList(const QString& reason) override;
    // Writes the record to its page file, else hands it to the repository (which saves it
    // later: false), else to `elsewhere`. True when a file was written.
    bool saveRecordWhereItBelongs(const std::function<bool()>& elsewhere) override;
    int saveHtmlCheck() override;
    // Lines are being read into the record: the edit panel's fields write nothing meanwhile.
    void setFilling(bool on) override { fillingRecord_ = on; }

    // ---- the edit panel -------------------------------------------------------------
    void EditPanelOn() override;
    void EditPanelOff() override;
    void ActivateEditPanel(bool on);
    bool editPanelShown() const override;
    void editCurrentLine() override;
    // Opens a line the program has just added: its content is a proposal, selected so that
    // typing replaces it.
    void editProposedLine() override;
    // The selected line shown again without counting as an edit.
    void showCurrentLineQuietly();
    // The content box while it is shown (the Edit menu's cut, copy and paste work in it).
    QLineEdit* shownContentBox() const override;
    // Puts text into the content box as a value editor wrote it: no edit of its own.
    void showInContentBox(const QString& text) override;
    // Text put into the content box at its caret (over its selection), as typed there.
    void typeIntoContentBox(const QString& text) override;
    void setEditPanelVisible(bool on) override;
    void EditDateChange();
    void langToggle(const QString& language);
    // Prepares the content area for a scheme: date boxes, a fixed value list or the content
    // box, with or without "Load Scheme".
    void fillContentFromScheme(const QString& scheme, const QString& content);
    // Opens the value list of a scheme; false when nothing knows the name (or it may not go
    // into a command). Past the local and repository lookups the name loses every "-" and ".".
    bool loadScheme(const QString& schemeName);
    // The handlers of the edit panel's fields and buttons.
    void editNrmlContent_Change();
    void EditList_Change();
    void editNrmlLang_Change();
    void editNrmlLang_Click();
    void editNrmlName_Click();
    void editNrmlScheme_Change();
    void editNrmlScheme_Click();
    void editNrmlScheme_Validate();
    void editAddURL_Click();
    void editAddTitle_Click();
    void editOpenURI_Click();
    void EditLoadScheme_Click();
    // A key in the content box: Up, Down and Enter move the current line. True: swallowed.
    bool editNrmlContent_KeyDown(int keyCode);
    void editNrmlContent_Click();
    // Up or Down in one of the edit panel's lists moves the current line of the record.
    void moveCurrentLine(int step);
    // The structured-value editors, modal, on the selected line.
    void showAglsAgent();
    void showACTVers();

    // ---- the metadata panel ---------------------------------------------------------
    // A click on the header of column 0 (Name) .. 3 (Scheme).
    void MetaPanel_ColumnClick(int column);
    void MetaPanel_DblClick();
    void MetaPanel_KeyDown(int keyCode, int shift);
    // True when the character was taken for the current line.
    bool MetaPanel_KeyPress(int keyAscii);
    void MetaPanel_KeyUp(int keyCode, int shift);
    // Positions in twips from the panel's corner.
    void MetaPanel_MouseMove(int button, int shift, int x, int y);
    void MetaPanel_MouseUp(int button, int shift, int x, int y);
    // Another control of this window (a tree) dragged over or onto the panel.
    void MetaPanel_DragOver(QObject* source, int x, int y);
    void MetaPanel_DragDrop(QObject* source, int x, int y);
    // The text a drag of the current line carries.
    QString MetaPanel_OLESetData();
    void MetaPanel_OLEDragOver(const platform::DataObject& data, int x, int y);
    void MetaPanel_OLEDragDrop(const platform::DataObject& data, int x, int y);
    // Context menu item 1..9.
    void mnuMaintMeta_Click(int index);
    // Enter in the panel: the next line (wrapping to the first) becomes current.
    void selectNextLine();
    // Edit > Edit Current Record (its menu item given); also the panel's double click.
    void mnuEditCurrentRecord_Click() override;
    void setEditCurrentRecordItem(QAction* item);
    // The panel shown or hidden; refreshed after the record changed under it.
    void showMetaPanel(bool on) override;
    void showLine(Record::LineId id) override;
    // Painting held while a batch runs (the lines are shown once it is let go).
    void hold(bool on) override;
    int editPanelHeight() const override;
    bool editPanelHolds(const QWidget* widget) const override;
    bool metaPanelShown() const override;
    // True for the metadata panel (a drag source the trees take as the window's own).
    bool isMetaPanel(const QObject* object) const override;
    // Puts another pane's widget into the focus chain after the metadata panel and before the
    // edit panel (after the one put there before), so Tab and a pane closed with the focus
    // pass it on in that order.
    void placeBeforeEditPanel(QWidget* widget) override;
    void refreshMetaPanel() override;

    // ---- layout ---------------------------------------------------------------------
    // The designed column widths, widened where the font needs more.
    void setupMetaPanelColumns();
    void describe(Layout::Input& in) const override;
    int rowHeightTwips() const override;
    int headerHeightTwips() const override;
    // Puts the panels where the layout says; the edit panel hides when it says so.
    void place(const Layout::Result& r) override;

private:
    class EditPanelEvents;
    class ShowingOnly;
    void buildMetaPanel();
    void buildEditPanel();
    void buildContextMenu();
    void connectMetaPanel();
    void fitContentColumn();
    bool fillContentFromLocalScheme(const QString& scheme, const QString& content);
    bool fillContentFromServerScheme(const QString& scheme, const QString& content);
    // The content field shown with the text and focused; On also shows "Load Scheme".
    void fillContentLoadSchemeOn(const QString& content);
    void fillContentLoadSchemeOff(const QString& content);
    void showDateEditor(const SchemeRules::DateParts& date);
    void showValueList(const QStringList& items, const QString& content);
    void showContentForScheme(const QString& scheme, const QString& content);
    // Opens the scheme's list from the current list's folder, or from the repository;
    // true when a command ran.
    bool loadSchemeLocal(const QString& schemeName);
    bool loadSchemeServer(const QString& schemeName);

    ProgramContext& context;
    WindowFrame& frame;
    const Neighbours around;
    Record* record = nullptr;
    DocumentState* documentState = nullptr;

    MetaPanelView* MetaPanel = nullptr;
    QMenu* mnuMaintMeta1 = nullptr;
    ControlArray<QAction> mnuMaintMeta;
    QAction* mnuEditCurrentRecord_ = nullptr;
    QGroupBox* EditPanel = nullptr;
    QLineEdit* editNrmlName = nullptr;
    QLineEdit* editNrmlContent = nullptr;
    QComboBox* EditList = nullptr;
    QComboBox* editDateday = nullptr;
    QComboBox* editDateMonth = nullptr;
    QComboBox* editDateyear = nullptr;
    QWidget* editDateBoxes = nullptr;  // the three date boxes, shown in the content's place
    QComboBox* editNrmlLang = nullptr;
    QComboBox* editNrmlScheme = nullptr;
    QPushButton* editAddURL = nullptr;
    QPushButton* editAddTitle = nullptr;
    QPushButton* editOpenURI = nullptr;
    QPushButton* EditLoadScheme = nullptr;
    QString EditLoadSchemeTag;  // the scheme file "Load Scheme" loads
    QObject* editPanelEvents_ = nullptr;
    QTimer* Timer1 = nullptr;  // retries a parked page load  // routes the fields' clicks, keys and drops
    QPushButton* EditClose = nullptr;
    QLabel* editLabel1 = nullptr;
    QLabel* editLabel2 = nullptr;
    QLabel* EditLabel4 = nullptr;
    QLabel* editLabel3 = nullptr;
    QLabel* EditdateDLabel = nullptr;
    QLabel* editdateMLabel = nullptr;
    QLabel* EditDateYLabel = nullptr;

    bool fillingRecord_ = false;
    bool fillingEditPanel = false;
    // The line the edit panel was last filled from: its fields write into that line only.
    Record::LineId shownLine_ = 0;
    Record::LineId panelLine() const;
    bool panelIsBehind() const;
    bool openRecordOnLoad_ = false;
    PageLoad lastPageLoad_ = PageLoad::NotRead;
    QString pendingURL_;
    int filesWritten_ = 0;
    double contentColumnTwips_ = 0;  // the Content column's width as the layout gave it
    QWidget* lastBeforeEditPanel_ = nullptr;  // in the focus chain
};

#pragma once
#include <QObject>
#include <QString>

#include <functional>

class ListTree;
class ProgramContext;
class QLineEdit;
class QWidget;
class frmFirewall;
class frmPreferences;

// The Edit menu's handlers: the clipboard on the focused box or list node, the record as
// HTML or RDF on the clipboard, the two special characters, and the preference windows
// (made on first use).
class EditMenu : public QObject {
    Q_OBJECT
public:
    // What the handlers need of the main window.
    struct MainWindow {
        QWidget* frame = nullptr;                       // the preference windows' owner
        std::function<ListTree*()> focusedTree;         // the list tree whose pane has the focus, or nullptr
        std::function<bool()> mayChangeList;            // false when the list's save question was cancelled
        std::function<QString()> metaBlock;             // the record as the meta elements of a page head
        std::function<QString()> pageAddress;           // the browser's present address
        std::function<QLineEdit*()> openContentBox;     // the edit panel's content box while it is shown
        std::function<void()> savePreferences;
    };

    EditMenu(ProgramContext& context, MainWindow window);

    // Connects the handlers to the menu's items, found by their object names under `menus`.
    void connectItems(QObject& menus);

    void mnuEditCut_Click();
    void mnuEditCopy_Click();
    void mnuEditPaste_Click();
    void mnuEditCopyMeta_Click();
    void mnuEditCopyMetaRDF_Click();
    // Item 1 inserts "®", item 2 "©" into the content box at the cursor.
    void mnuEditInsertIndex_Click(int index);
    void mnuEditPrefs_Click();
    void MnuEditIE_Click();
    void MnuEditFirewall_Click();

    // The record as the clipboard gets it: meta elements (after the domain's link lines) or RDF.
    QString metadataAsHtml() const;
    QString metadataAsRdf() const;

private:
    ProgramContext& context_;
    MainWindow window_;
    frmPreferences* preferencesDialog_ = nullptr;
    frmFirewall* firewallDialog_ = nullptr;
};

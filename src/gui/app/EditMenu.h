#pragma once
#include <QObject>
#include <QString>

class ListTree;
class ProgramContext;
class WindowFrame;
class QWidget;
class frmFirewall;
class frmPreferences;

// The Edit menu's handlers: the clipboard on the focused box or list node, the record as
// HTML or RDF on the clipboard, the two special characters, and the preference windows
// (made on first use).
class EditMenu : public QObject {
    Q_OBJECT
public:
    EditMenu(ProgramContext& context, WindowFrame& frame);

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
    // The list tree whose pane has the focus, or nullptr.
    ListTree* focusedTree() const;
    // False when the list's save question was cancelled.
    bool mayChangeList() const;
    // The preference windows' owner.
    QWidget* owner() const;

    ProgramContext& context_;
    WindowFrame& frame_;
    frmPreferences* preferencesDialog_ = nullptr;
    frmFirewall* firewallDialog_ = nullptr;
};

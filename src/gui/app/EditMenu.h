#pragma once
#include <QObject>
#include <QString>

#include <functional>

class ContentBox;
class ListDocument;
class ListPane;
class ListTree;
class PageBrowser;
class ProgramContext;
class RecordDocument;
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
    // What the menu asks of the panes.
    struct Neighbours {
        RecordDocument& record;
        ContentBox& contentBox;
        ListDocument& list;
        ListPane& listPane;
        PageBrowser& browser;
    };
    // `savePreferences` writes the window's place and the preferences into the settings store.
    EditMenu(ProgramContext& context, WindowFrame& frame, const Neighbours& around,
             std::function<void()> savePreferences);

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

    // The record as RDF, as the clipboard gets it.
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
    const Neighbours around_;
    std::function<void()> savePreferences_;
    frmPreferences* preferencesDialog_ = nullptr;
    frmFirewall* firewallDialog_ = nullptr;
};

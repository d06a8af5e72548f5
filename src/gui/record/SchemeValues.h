#pragma once
#include <QObject>
#include <QString>

class EditPanelContent;
class ProgramContext;
class QComboBox;
class QGridLayout;
class QPushButton;
class QWidget;
class RecordDocument;
class WindowFrame;
struct EditGuards;
struct RecordNeighbours;

// What fills the edit panel's content field: the element's own value list or the field a
// line's encoding scheme asks for, the scheme's value list ("Load Scheme") or its structured
// editor, and the page shown (its address, its title); and opening the content as an address.
class SchemeValues final : public QObject {
    Q_OBJECT
public:
    SchemeValues(ProgramContext& context, WindowFrame& frame, const RecordNeighbours& around, EditGuards& guards,
                 EditPanelContent& content, RecordDocument& document);
    // Makes the buttons in the panel (the scheme box given is the panel's) and puts them into
    // its grid.
    void build(QWidget* panel, QComboBox* schemeBox);
    void placeIn(QGridLayout* grid);

    // The buttons a line of this element offers: the page's title, its address.
    void showButtonsFor(const QString& name);
    // The content field for a line of this element and scheme: the element's own values, else
    // what the scheme asks for, and the scheme file "Load Scheme" loads in the domain.
    void fillForLine(const QString& name, const QString& scheme, const QString& value);
    // The content field for a scheme: date boxes, a fixed value list or the content box, with
    // or without "Load Scheme".
    void fillContentFromScheme(const QString& scheme, const QString& value);
    // Opens the value list of a scheme; false when nothing knows the name (or it may not go
    // into a command). Past the local and repository lookups the name loses every "-" and ".".
    bool loadScheme(const QString& schemeName);
    // The structured-value editors, modal, on the selected line.
    void showAglsAgent();
    void showACTVers();

    void editAddURL_Click();
    void editAddTitle_Click();
    void editOpenURI_Click();
    void EditLoadScheme_Click();

private:
    void showContentForScheme(const QString& scheme, const QString& value);
    bool fillContentFromLocalScheme(const QString& scheme, const QString& value);
    bool fillContentFromServerScheme(const QString& scheme, const QString& value);
    // The content field shown with the text and focused, and "Load Scheme".
    void fillContentLoadSchemeOn(const QString& value);
    // Opens the scheme's list from the current list's folder, or from the repository;
    // true when a command ran.
    bool loadSchemeLocal(const QString& schemeName);
    bool loadSchemeServer(const QString& schemeName);

    ProgramContext& context;
    WindowFrame& frame;
    const RecordNeighbours& around;
    EditGuards& guards;
    EditPanelContent& content;
    RecordDocument& document;
    QComboBox* schemeBox = nullptr;
    QPushButton* editAddURL = nullptr;
    QPushButton* editAddTitle = nullptr;
    QPushButton* editOpenURI = nullptr;
    QPushButton* EditLoadScheme = nullptr;
    QString EditLoadSchemeTag;  // the scheme file "Load Scheme" loads
};

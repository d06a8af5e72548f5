#pragma once
#include "gui/frame/ContentBox.h"
#include "core/domains/SchemeRules.h"

#include <QObject>
#include <QString>
#include <QStringList>

class ProgramContext;
class RecordEditPanel;
class QAction;
class QComboBox;
class QEvent;
class QGridLayout;
class QLineEdit;
class QWidget;
class RecordSaving;
class SchemeValues;
class WindowFrame;
struct EditGuards;
struct RecordNeighbours;

// The edit panel's content field: the content box, or a value list or the date boxes in its
// place; whatever is typed or picked there goes straight into the line.
class EditPanelContent final : public QObject, public ContentBox {
    Q_OBJECT
public:
    EditPanelContent(ProgramContext& context, WindowFrame& frame, const RecordNeighbours& around, EditGuards& guards,
                     RecordSaving& saving, RecordEditPanel& editPanel, SchemeValues& schemes, QAction& cancelEditing);
    // Makes the field's controls in the panel (the scheme box given is the panel's) and puts
    // its caption and the place they share on the grid's second row.
    void build(QWidget* panel, QComboBox* schemeBox, QGridLayout* grid);
    // The panel's event routing, filtering the field's controls too; and the events meant for
    // them, true when one is taken.
    void installFilter(QObject* filter);
    bool routeEvent(QObject* watched, QEvent* event);

    void showInContentBox(const QString& text) override;
    void typeIntoContentBox(const QString& text) override;
    QLineEdit* shownContentBox() const override;

    // The date boxes and the content box; the value list.
    void setBoxesEnabled(bool on);
    void setValueListEnabled(bool on);
    void selectAll();
    void moveCaretToEnd();
    // A proposed content selected, so that typing replaces it; a prefix to extend ("http://",
    // a folder's address) keeps the caret at its end.
    void selectProposal();
    QString text() const;
    void setText(const QString& content);

    // What shows in the field's place: nothing but the content box, a list of the element's
    // own values, a scheme's value list, the date boxes, the content box with the text whole.
    void hideAlternatives();
    void showBuiltInList(const QStringList& items, const QString& shown);
    void showContentBox();
    void showValueList(const QStringList& items, const QString& content);
    void showDateEditor(const SchemeRules::DateParts& date);
    void showPlainText(const QString& content);

    // The handlers of the content box, the value list and the date boxes.
    void contentChanged();
    // A key in the content box: Up, Down and Enter move the current line. True: swallowed.
    bool contentKeyDown(int keyCode);
    void editNrmlContent_Click();
    void valueListChanged();
    void EditDateChange();

private:
    ProgramContext& context;
    WindowFrame& frame;
    const RecordNeighbours& around;
    EditGuards& guards;
    RecordSaving& saving;
    RecordEditPanel& editPanel;
    SchemeValues& schemes;
    QAction& cancelEditing;
    QComboBox* schemeBox = nullptr;
    QLineEdit* editNrmlContent = nullptr;
    QComboBox* EditList = nullptr;
    QComboBox* editDateday = nullptr;
    QComboBox* editDateMonth = nullptr;
    QComboBox* editDateyear = nullptr;
    QWidget* editDateBoxes = nullptr;  // the three date boxes, shown in the content's place
};

#pragma once
#include <QDialog>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class ProgramContext;
struct DomainCatalogue;

namespace platform {
class ModalRuns;
}  // namespace platform

// "Schemas Control Panel": the default domain, and the domains whose items the Metadata
// Resources menu shows. Changes nothing until Select.
class frmCheckList : public QDialog {
    Q_OBJECT
public:
    frmCheckList(QWidget* parent, ProgramContext& context);
    // The one dialog of the program, created on first use.
    static frmCheckList& instance(QWidget* parent, ProgramContext& context);
    // Fills the dialog afresh and shows it modally over the main window.
    // Modal over `owner`; OK makes the domain chosen the context's current one and applies it.
    static void showModal(QWidget* owner, ProgramContext& context, platform::ModalRuns& runs);

    // Fills the combo and the ticks from the catalogue and "Preferences\Schemas".
    void Form_Load();
    void cmdOK_Click();

private:
    QComboBox* defSchema;
    QListWidget* ListView1;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;
    QLabel* defaultSchemaLabel;
    QLabel* menuSchemasLabel;
    QLabel* behaviourLabel;

    DomainCatalogue& catalogue() const;
    ProgramContext& context_;
    void fillFromSettings();
};

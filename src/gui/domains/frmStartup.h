#pragma once
#include <QDialog>

#include <functional>

class ProgramContext;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;

namespace platform {
class ModalRuns;
}  // namespace platform

// "Welcome to Quorvantile": a new user's choice of metadata domain, and the tutorial.
class frmStartup : public QDialog {
    Q_OBJECT
public:
    frmStartup(QWidget* parent, ProgramContext& context, std::function<void()> openTutorial);
    // The one dialog of the program, created on first use.
    static frmStartup& instance(QWidget* parent, ProgramContext& context, std::function<void()> openTutorial);
    // Program start without a domain: the user picks one, which is then applied and its
    // element list loaded. Closing the dialog leaves the program without a domain.
    static void chooseFirstDomain(QWidget* parent, ProgramContext& context, platform::ModalRuns& runs,
                                  std::function<void()> openTutorial);

    // Offers the catalogue's domains, the current one shown.
    void Form_Load();
    // The confirm button's work: the chosen domain becomes current and shown in the menus.
    void prepareAndSetDomain();

private:
    QGroupBox* domainGroup;
    QComboBox* Domain;
    QCheckBox* Check2;
    QPushButton* okButton;

    // The current domain's name, which the dialog sets.
    QString& domain() const;
    ProgramContext& context_;
    std::function<void()> openTutorial_;
};

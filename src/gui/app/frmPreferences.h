#pragma once
#include <QDialog>

#include <functional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class ProgramContext;
struct Preferences;

// The user-facing preferences; shown without blocking the main window.
class frmPreferences : public QDialog {
    Q_OBJECT
public:
    // OK stores the fields into the context's preferences and then calls `save`.
    frmPreferences(ProgramContext& context, std::function<void()> save, QWidget* parent);

    void Form_Load();
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdClearCacheNow_Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* Label1;
    QLineEdit* txtHome;
    QLabel* Label3;
    QLineEdit* txtFileNew;
    QGroupBox* fraGeneral;
    QCheckBox* useLinkRel;
    QCheckBox* chkSplash;
    QCheckBox* chkmtpComplete;
    QGroupBox* fraSchemas[2];
    QPushButton* cmdClearCacheNow;
    QCheckBox* chkClearCache;
    QRadioButton* radNoEncoding[3];
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

    ProgramContext& context_;
    std::function<void()> save_;
    QString homeAtLoad_;
};

// The firewall (proxy) user name and password every transfer hands on.
class frmFirewall : public QDialog {
    Q_OBJECT
public:
    frmFirewall(Preferences& preferences, QWidget* parent);

    void saveGlobals();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* Label1[2];
    QLabel* lblUserID;
    QLineEdit* txtUserID;
    QLabel* lblPassword;
    QLineEdit* txtPassword;
    QPushButton* Command1;
    QPushButton* Command2;

    Preferences& preferences_;
};

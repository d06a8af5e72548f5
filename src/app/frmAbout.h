#pragma once
#include <QDialog>

class QLabel;
class QPushButton;

// The about box; also the splash window of a plain start. It goes as soon as another
// window of the program becomes active.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);
    static frmAbout& instance(QWidget* parent);

    QPushButton* Credits;
    QPushButton* cmdSysInfo;
    QPushButton* cmdOK;
    QLabel* Label2[3];

    void Credits_Click();
    void StartSysInfo();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
};

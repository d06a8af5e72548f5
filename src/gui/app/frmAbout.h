#pragma once
#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;
class UserDialogs;

// The about box; also the splash window of a plain start. It goes as soon as another
// window of the program becomes active.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    // Credits opens its page through `openPage`, as a path on the scheme server.
    frmAbout(UserDialogs& user, std::function<void(const QString&)> openPage, QWidget* parent);

    void Credits_Click();
    void StartSysInfo();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QPushButton* Credits;
    QPushButton* cmdSysInfo;
    QPushButton* cmdOK;
    QLabel* Label2[3];
    UserDialogs& user_;
    std::function<void(const QString&)> openPage_;
};

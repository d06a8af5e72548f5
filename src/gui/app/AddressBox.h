#pragma once
#include "gui/frame/AddressBar.h"

#include <QObject>
#include <QString>

class NavigationHub;
class NavigationView;
class QComboBox;
class QMimeData;
class QToolBar;
class QWidget;

// The address box in the toolbar and its history file: a pick from the list or Enter opens
// the address, a drop opens the file or takes the address dropped.
class AddressBox final : public QObject, public AddressBar {
    Q_OBJECT
public:
    // Puts the box at the end of the toolbar; the two parts it opens pages and takes drops
    // with are only kept.
    AddressBox(QToolBar* toolbar, NavigationHub& navigation, NavigationView& drops);

    QString addressText() const override;
    void setAddressText(const QString& address) override;
    void pickAddressEntry(const QString& address) override;
    QString URLAddItem(const QString& address) override;
    bool isAddressBox(const QWidget* widget) const;
    void setWidth(int pixels);

    void URL_Click();
    // Enter in the box: opens what was typed and keeps it in the history.
    void openTypedAddress();
    void URL_OLEDragDrop(const QMimeData* data);

    // The history file: read at the start, written when the window closes.
    void loadURLList();
    void saveURLList();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static QString historyFilePath();

    NavigationHub& navigation;
    NavigationView& drops;
    QComboBox* URL = nullptr;
    // The box is losing the focus (its "activated" then is no pick).
    bool urlFocusLeaving_ = false;
};

#pragma once
#include <QString>

// The address box and its history.
class AddressBar {
public:
    virtual ~AddressBar() = default;
    virtual QString addressText() const = 0;
    virtual void setAddressText(const QString& address) = 0;
    // The history entry of exactly this text becomes the box's current one.
    virtual void pickAddressEntry(const QString& address) = 0;
    // Puts the address at the top of the history, unless it is there in any case, and returns
    // it as kept: a bare host gets "http://" in front.
    virtual QString URLAddItem(const QString& address) = 0;
};

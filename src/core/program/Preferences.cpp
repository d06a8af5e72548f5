#include "core/program/Preferences.h"

#include "platform/Inet.h"

void Preferences::signIn(platform::Inet& transfer) const {
    transfer.setUserName(INETname);
    transfer.setPassword(INETid);
}

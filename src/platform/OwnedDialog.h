#pragma once
#include <QObject>

#include <utility>

namespace platform {

// The owner's one dialog of this type: made by `make` (as the owner's child) on first use,
// then kept, hidden rather than destroyed, for as long as the owner lives.
template <class Dialog, class Make>
Dialog& ownedDialog(QObject& owner, Make&& make) {
    if (auto* dialog = owner.findChild<Dialog*>(QString(), Qt::FindDirectChildrenOnly)) return *dialog;
    Dialog* made = std::forward<Make>(make)();
    Q_ASSERT(made->parent() == &owner);
    return *made;
}

}  // namespace platform

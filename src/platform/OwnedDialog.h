#pragma once
#include <QObject>
#include <QPointer>

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

// The dialog kept in `slot`: made by `make` on first use, then found there again for as long
// as it lives.
template <class Dialog, class Make>
Dialog& keptDialog(QPointer<QObject>& slot, Make&& make) {
    auto* dialog = qobject_cast<Dialog*>(slot.data());
    if (!dialog) slot = dialog = std::forward<Make>(make)();
    return *dialog;
}

}  // namespace platform

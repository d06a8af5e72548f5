#pragma once
#include <functional>

class QDialog;

namespace platform {

// Shows a dialog modally and returns its result. Every modal window of the program goes
// through here, so tests can work the dialog instead of a user.
int execModal(QDialog& dialog);

// Works a shown dialog and closes it (tests). An empty runner restores exec().
using ModalRunner = std::function<int(QDialog&)>;
void setModalRunner(ModalRunner runner);

}  // namespace platform

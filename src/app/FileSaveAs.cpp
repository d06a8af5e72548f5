// File > Save As.
#include "app/Form1.h"

#include "platform/MsgBox.h"

bool Form1::mnuFileSaveAs_Click(int index) {
    platform::MsgBox(QStringLiteral("Save As is not available in this build (item %1).").arg(index),
                     platform::vbExclamation);
    return false;
}

// Opening files and text dropped on the window.
#include "app/Form1.h"

#include "platform/MsgBox.h"

void Form1::LoadDragDrop(const QString& item) {
    platform::MsgBox(QStringLiteral("Opening dropped items is not available in this build: ") + item,
                     platform::vbExclamation);
}


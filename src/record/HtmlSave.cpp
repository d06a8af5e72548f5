// Writing the record into a page file.
#include "app/Form1.h"

#include "platform/MsgBox.h"

bool Form1::SaveAsHTML(const QString& path) {
    platform::MsgBox(QStringLiteral("Saving pages is not available in this build: ") + path, platform::vbExclamation);
    return false;
}

bool Form1::SaveAsBatch(const QString& path) {
    platform::MsgBox(QStringLiteral("Saving batches is not available in this build: ") + path, platform::vbExclamation);
    return false;
}

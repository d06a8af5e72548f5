#pragma once
#include "platform/TextCodec.h"

#include <QByteArray>
#include <QString>

// The page the record was read from, as a save writes the record back into it.
struct PageSource {
    QString text;
    platform::TextEncoding encoding;  // how the text was encoded on disk
    // The file the text was read from or last written to, and a digest of its bytes then: a
    // save over it first looks whether another program changed it meanwhile.
    QString file;
    QByteArray digest;
};

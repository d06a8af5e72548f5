#pragma once
// What the list loads are measured against: the least work any reader of the same file does.
#include "platform/TextCodec.h"

#include <QFile>
#include <QString>
#include <libxml/parser.h>
#include <libxml/tree.h>

namespace bench {

// Reads and parses the file with libxml2's default options and visits every element; the
// number of elements, or -1 when the file is not well-formed.
inline long libxml2ParseAndWalk(const QString& path) {
    xmlDocPtr doc = xmlReadFile(QFile::encodeName(path).constData(), nullptr, 0);
    if (!doc) return -1;
    long elements = 0;
    xmlNodePtr root = xmlDocGetRootElement(doc);
    for (xmlNodePtr node = root; node;) {
        if (node->type == XML_ELEMENT_NODE) ++elements;
        if (node->children) {
            node = node->children;
            continue;
        }
        while (node && node != root && !node->next) node = node->parent;
        node = node && node != root ? node->next : nullptr;
    }
    xmlFreeDoc(doc);
    return elements;
}

// Reads the file, decodes it as the program decodes its own files and splits it into lines;
// the number of lines.
inline qsizetype readDecodeAndSplit(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return -1;
    return platform::splitLines(platform::decodeProgramText(file.readAll())).size();
}

}  // namespace bench

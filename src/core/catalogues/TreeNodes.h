#pragma once
#include <QString>

// The texts the hierarchy pane makes from its nodes and from what is dropped on it: the
// repository catalogue's subject commands, command tags rewritten for a new name, the
// parts of a dropped command, and the search rule of Find in List. Pure text work.
namespace TreeNodes {

// A name put into the content of a field command: "&" would end the value there, so it
// goes in as "%26", which the field command turns back.
QString contentValue(const QString& name);

// The field command that files a record under a node of the repository catalogue: the
// node's path below "Main Catalog", its steps joined by "; ".
QString subjectCommand(const QString& fullPath, const QString& scheme);

// A dropped name in a command template: the value after "content=" (up to the next "&",
// or to the end, which then becomes ".fld") is replaced by the name.
QString commandForName(const QString& templateTag, const QString& name);

// The tag of a node renamed to `name`: in a field command only the value after "content="
// (up to the next "&", else up to its ".fld") becomes the name, so element, language and
// scheme stay; any other tag stays as it is.
QString renamedTag(const QString& tag, const QString& name);

// An "mtp://" text dropped on the tree.
struct DroppedCommand {
    QString type;       // the text after the last ".", without "/"
    QString label;      // the new node's text
    QString tag;        // its tag
    QString originTag;  // the drag session a tree node dragged out of a program came from
};
DroppedCommand readDroppedCommand(const QString& text);

// Find in List: the text begins with the search text or holds it right after a blank,
// ignoring case.
bool matchesSearch(const QString& text, const QString& search);

// A tag shown as a menu caption: "&" shown as itself, and a long tag shortened.
QString menuCaption(const QString& tag);

}  // namespace TreeNodes

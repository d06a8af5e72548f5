#pragma once
#include "core/record/MetadataLine.h"

#include <QString>

// Writes the record out: as the block of meta elements of a page's head, into a page's
// text, and as a batch of field commands.
namespace MetaWriter {

// The meta block: one line per named line of the record, in order, each
//   <META NAME="n"[ LANG="l"][ SCHEME="s"] CONTENT="c"[ other attributes]>CR LF
// (HTTP-EQUIV= in place of NAME= for a line read from http-equiv; the other attributes as
// the page had them). In the content "<" and ">" become "&lt;" and "&gt;"; a double quote
// in any value becomes "&quot;"; everything else, line breaks included, is written as it is.
// Lines without a name (link rows, unnamed meta tags) are not written. "" for a record
// without named lines.
QString MakeMetaIntoSource(const MetadataRecord& record);

// The page text with its record written in, as the HTML save builds it.
struct PageRewrite {
    // The page text is empty or only blanks: `text` is the minimal page. Ask whether to
    // write it.
    bool blankPage = false;
    // The page had no head: one holding the block was put after the <html> start tag (or
    // the doctype, or at the top).
    bool headInserted = false;
    // The new page text, without the line end every page write adds after it.
    QString text;
};

// Rewrites `pageSource` to hold `record` (read from pages with `openRecordMacroSet` as the
// reader was given it). Every named meta element the reader takes from the page (wherever
// it stands outside comments, scripts, styles and textareas) is taken out, with its own
// line when it stands alone on one; then the schema link lines (when
// `useLinkRel` is exactly "Y", they are not empty and the head does not already hold them,
// ignoring case) and the record's meta block go just before the head's end tag. So reading
// the page written gives the record back, and saving it again changes nothing. The first
// encoding declaration (http-equiv Content-Type) keeps its place with the record's value. An
// element that cannot be taken out without changing what the text around it reads as stays
// as it is while the record holds a line saying the same, and gives way to an empty comment
// when it does not. The block never goes inside another tag. Meta elements without a name
// (such as <meta charset=...>) and every other character of the page stay as they are.
PageRewrite rewritePage(const QString& pageSource, const MetadataRecord& record, const QString& linkRelLines,
                        const QString& useLinkRel, bool openRecordMacroSet = false);

// The page written for a blank page text: html, head, title "Untitled Document", the link
// lines, the block, and an empty body, lines ending in CR LF.
QString minimalPage(const QString& metaBlock, const QString& linkLines = QString());

// What a page file holds for a page text: every page write ends with one more CR LF.
QString pageFileText(const QString& pageText);

// One field command per record line, in order, empty names included:
//   mtp://field=NAME&content=CONTENT[&lang=LANG][&scheme=SCHEME].fld/CR LF
// with the values written so that the field command reads them back as they are
// (FieldCommandValues). "" for an empty record.
QString buildFieldCommands(const MetadataRecord& record);

// The record as a command batch file: the field commands, "mtp://gotop.fld" and CR LF, and
// the CR LF every batch write adds (so the file ends with two CR LF pairs).
QString batchFileText(const MetadataRecord& record);

}  // namespace MetaWriter

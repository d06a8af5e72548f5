#pragma once
#include "platform/WebBrowser.h"

#include <QList>
#include <QString>

// A small, forgiving reader of the parts of an HTML page the offline browser needs: its
// title, base address, links and frames. One pass over the text; no scripts are run.
namespace platform {

struct HtmlFrameRef {
    QString src;   // as written
    QString name;
};

struct HtmlLinkScan {
    QString title;
    QString baseHref;
    QString baseTarget;
    QList<PageLink> links;        // <a href> and <area href>, in page order
    QList<HtmlFrameRef> frames;   // <frame> and <iframe>, in page order
};

HtmlLinkScan scanHtmlLinks(const QString& html);

// Character references (&amp; &lt; &gt; &quot; &apos; &nbsp; and numeric ones) decoded;
// unknown names are kept as written.
QString decodeHtmlCharacterReferences(const QString& text);

}  // namespace platform

// Writing the record into a page file, or out as a command batch.
#include "gui/record/RecordSaving.h"

#include "gui/frame/DocumentMenu.h"
#include "gui/record/RecordNeighbours.h"
#include "core/program/ProgramContext.h"
#include "core/record/Record.h"
#include "platform/MsgBox.h"
#include "platform/widgets/StatusBar.h"
#include "platform/TextCodec.h"
#include "core/record/MetaWriter.h"
#include "core/record/PageEncoding.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>

QString RecordSaving::MakeMetaIntoSource() const {
    return MetaWriter::MakeMetaIntoSource(context.record.lines());
}

QString RecordSaving::metadataAsHtml() const {
    QString text = MakeMetaIntoSource();
    if (context.preferences.UseLinkRel.isY() && !context.domain.linkRelLines.isEmpty())
        text = context.domain.linkRelLines + QStringLiteral("\r\n") + text;
    return text;
}

bool RecordSaving::SaveAsHTML(const QString& path) {
    // A file that is no text page (a picture or a program named .htm, say) is never
    // written into, and neither is a page read from one.
    QFile target(path);
    const bool targetIsText = !target.open(QIODevice::ReadOnly) || platform::looksLikeText(target.readAll());
    target.close();
    if (!targetIsText || context.page.text.contains(QChar(0))) {
        context.user.MsgBox((targetIsText ? QStringLiteral("The page last read is not a text page, so it was not written into ")
                                          : QStringLiteral("This file is not a text page, so nothing was written into it: ")) +
                                path,
                            platform::kOkOnly | platform::kExclamationIcon, QStringLiteral("Error saving HTML"));
        return false;
    }
    const MetadataRecord lines = context.record.lines();
    QString page = context.page.text;
    platform::TextEncoding encoding = context.page.encoding;
    // Another program (or another copy of this one) may have changed the page since it was
    // read: its changes are not undone behind the user's back.
    if (!context.page.file.isEmpty() && QFileInfo(path) == QFileInfo(context.page.file)) {
        const std::optional<QByteArray> now = platform::fileDigest(path);
        if (now && *now != context.page.digest) {
            const int answer = context.user.MsgBox(
                QStringLiteral("The page ") + path +
                    QStringLiteral(" was changed on disk since it was opened.\r\n\r\n"
                                   "Yes: put the record's metadata into the page as it is now.\r\n"
                                   "No: write the page as it was opened, over those changes.\r\n"
                                   "Cancel: save nothing."),
                platform::kYesNoCancel | platform::kExclamationIcon, QStringLiteral("Page changed on disk"));
            if (answer == platform::kAnswerCancel) return false;
            platform::DecodedText current;
            QString error;
            if (answer == platform::kAnswerYes) {
                if (!PageEncoding::readPageFile(path, current, &error)) {
                    context.user.MsgBox(error, platform::kOkOnly, QStringLiteral("Error saving HTML"));
                    return false;
                }
                page = current.text;
                encoding = current.encoding;
            }
        }
    }
    // A page never read (a record made from a template, say) must not replace a file that
    // already holds a page: that page is the one the record goes into.
    if (page.trimmed().isEmpty() && QFileInfo(path).size() > 0) {
        platform::DecodedText existing;
        if (PageEncoding::readPageFile(path, existing, nullptr) && !existing.text.trimmed().isEmpty()) {
            page = existing.text;
            encoding = existing.encoding;
        }
    }
    const MetaWriter::PageRewrite rewrite =
        MetaWriter::rewritePage(page, lines, context.domain.linkRelLines, context.preferences.UseLinkRel.text(),
                                !context.macros.openRecordMacro.isEmpty());

    if (rewrite.blankPage) {
        const int answer = context.user.MsgBox(
            QStringLiteral("The current Quorvantile HTML document does not contain <HEAD></HEAD> information and is "
                           "probably blank. Do you want to add basic HTML to the Metadata?"),
            platform::kYesNo, QStringLiteral("This file has no HTML"));
        // Nothing written: the record keeps its mark, the file stays as it is.
        if (answer != platform::kAnswerYes) return false;
    }
    const QString& written = rewrite.text;

    QString error;
    const QByteArray bytes = platform::encodePageText(MetaWriter::pageFileText(written), encoding);
    if (!platform::writeFileAtomically(path, bytes, &error)) {
        context.user.MsgBox(QStringLiteral("Error saving file: ") + error, platform::kOkOnly, platform::kDefaultMsgBoxTitle);
        return false;
    }
    ++filesWritten_;
    // The page as written is what the next save starts from.
    context.page.text = rewrite.blankPage ? written : page;
    context.page.encoding = encoding;
    context.page.file = path;
    context.page.digest = platform::bytesDigest(bytes);
    context.document.setSaveCaption(QStringLiteral("Save Record to ") + path);
    context.document.markSaved(DocumentState::Document::None);
    cancelEditing.setEnabled(false);
    context.document.setCurrentHTMLFile(path);
    around.fileMenu.showCurrentFile();
    return true;
}

bool RecordSaving::SaveAsBatch(const QString& path) {
    QString error;
    if (!platform::writeTextFileAtomically(path, MetaWriter::batchFileText(context.record.lines()), &error)) {
        context.user.MsgBox(error + QStringLiteral(": Check that the file or the file system are not read only"),
                            platform::kOkOnly, QStringLiteral("Error saving template"));
        return false;
    }
    ++filesWritten_;
    return true;
}

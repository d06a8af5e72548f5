// Reading a page's metadata into the record when the browser opens it.
#include "gui/record/PageLoading.h"

#include "gui/frame/AddressBar.h"
#include "gui/frame/Layout.h"
#include "gui/frame/DocumentMenu.h"
#include "gui/frame/ListFiles.h"
#include "gui/frame/PageBrowser.h"
#include "gui/frame/RecordDocument.h"
#include "gui/frame/RecordView.h"
#include "gui/frame/WindowFrame.h"
#include "gui/record/EditGuards.h"
#include "gui/record/RecordEditPanel.h"
#include "gui/record/RecordNeighbours.h"
#include "core/program/ProgramContext.h"

#include "core/commands/modMTP.h"
#include "core/commands/modMacros.h"
#include "core/record/Record.h"
#include "platform/Inet.h"
#include "platform/MsgBox.h"
#include "platform/PathText.h"
#include "platform/widgets/StatusBar.h"
#include "platform/TextCodec.h"
#include "platform/Twips.h"
#include "core/record/MetaReader.h"
#include "core/record/PageEncoding.h"
#include "core/record/modCharEncoding.h"

#include <QFileInfo>
#include <QTimer>

#include <memory>

namespace {

// Mis-read UTF-8 quotes and dashes in the values read from a local page are repaired; the
// page text itself stays as read, so a save writes back the bytes the file had.
void repairQuotes(MetadataRecord& lines) {
    for (MetadataLine& line : lines) {
        line.name = modCharEncoding::fixUtf8Quotes(line.name);
        line.content = modCharEncoding::fixUtf8Quotes(line.content);
        line.lang = modCharEncoding::fixUtf8Quotes(line.lang);
        line.scheme = modCharEncoding::fixUtf8Quotes(line.scheme);
    }
}

}  // namespace

PageLoading::PageLoading(ProgramContext& context, WindowFrame& frame, const RecordNeighbours& around,
                         EditGuards& guards, RecordDocument& document, RecordEditPanel& editPanel, RecordView& view)
    : context(context), frame(frame), around(around), guards(guards), document(document), editPanel(editPanel),
      view(view) {
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(2000);
    connect(Timer1, &QTimer::timeout, this, &PageLoading::Timer1_Timer);
}

void PageLoading::startRetries() {
    Timer1->start();
}

void PageLoading::setFilling(bool on) {
    guards.fillingRecord = on;
}

int PageLoading::LoadMetadataFromURL(const QString& location, bool keepText) {
    Record* record = &context.record;
    lastPageLoad_ = PageLoad::NotRead;
    const int answer = document.saveHtmlCheck();
    if (answer == platform::kAnswerCancel) {
        lastPageLoad_ = PageLoad::Cancelled;
        return platform::kAnswerCancel;
    }
    if (openRecordOnLoad_) {
        openRecordOnLoad_ = false;
        lastPageLoad_ = PageLoad::FromRepository;
        modMTP::runMtpCommand(context, context.macros.openRecordMacro);
        return answer;
    }

    QString text;
    bool read = false;
    bool repair = false;
    platform::TextEncoding encoding;
    QString readFrom;
    QByteArray digest;
    const QString localPath = platform::localPathFromAddress(location);
    if (platform::isLocalPath(location)) {
        if (platform::isPageAddress(localPath)) {
            platform::DecodedText page;
            QString error;
            if (PageEncoding::readPageFile(localPath, page, &error)) {
                text = page.text;
                encoding = page.encoding;
                readFrom = localPath;
                digest = page.digest;
                read = repair = true;
            } else {
                context.user.MsgBox(error, platform::kOkOnly, QStringLiteral("Error opening page"));
                lastPageLoad_ = PageLoad::Failed;
            }
        } else if (!QFileInfo(localPath).isDir()) {
            record->clear();
        }  // a folder is only shown: the record stays as it is
    } else if (around.browser.inet().StillExecuting() && !modMTP::batchRunning(context)) {
        pendingURL_ = around.address.addressText();
        lastPageLoad_ = PageLoad::Parked;
    } else {
        // The window's control is busy only with a load further down this call stack. A
        // batch never parks its page: it reads it with a control of its own, now.
        std::unique_ptr<platform::Inet> own;
        if (around.browser.inet().StillExecuting()) own = std::make_unique<platform::Inet>(context.transferProxy);
        platform::Inet& inet = own ? *own : around.browser.inet();
        pendingURL_.clear();
        inet.setURL(location);
        context.preferences.signIn(inet);
        text = inet.OpenURL();
        if (inet.ResponseCode() != 0) {
            context.user.MsgBox(inet.errorCodeMessage(), platform::kOkOnly,
                                QString());
            lastPageLoad_ = PageLoad::Failed;
            return answer;
        }
        while (inet.StillExecuting()) {
            const QString chunk = inet.GetChunk(4096);
            if (!chunk.isEmpty()) text += chunk;
        }
        // The page's text as a local copy of it will read, so a save of it reads back the same.
        platform::DecodedText page = PageEncoding::decodePage(inet.replyBytes(), inet.replyContentType());
        text = std::move(page.text);
        encoding = page.encoding;
        read = true;
    }
    if (read) lastPageLoad_ = PageLoad::Read;

    const MetaReader::PageReading reading = MetaReader::readPage(text, !context.macros.openRecordMacro.isEmpty());
    const MetaReader::PageTextKind kind = reading.kind;
    if (kind != MetaReader::PageTextKind::Record) {
        lastPageLoad_ = PageLoad::ToTree;
        // The list's text is here already: the reader does not fetch it a second time.
        const QString fetched = repair ? modCharEncoding::fixUtf8Quotes(text) : text;
        around.address.URLAddItem(location);
        const bool kept = around.listFiles.loadListPage(kind == MetaReader::PageTextKind::HarvestControlList, location, fetched);
        // Kept: the user stopped the load, and nothing else changes either.
        if (kept) {
            lastPageLoad_ = PageLoad::Cancelled;
            return platform::kAnswerCancel;
        }
        record->clear();
        view.refreshMetaPanel();
        around.fileMenu.setMnuFileSaveAs();
        return platform::kAnswerCancel;
    }

    if (!text.isEmpty()) {
        if (!record->isEmpty()) {
            frame.statusBar().setPanelText(WindowFrame::kActivityPanel, QStringLiteral("Waiting for Metadata to come in..."));
            if (context.document.modeText() != QLatin1String("Merging Metadata")) {
                record->clear();
                editPanel.EditPanelOff();
            }
        }
        MetadataRecord rows = reading.linkRows;
        MetadataRecord lines = reading.lines;
        if (repair) {
            repairQuotes(rows);
            repairQuotes(lines);
        }
        record->appendLines(rows);
        guards.fillingRecord = true;
        record->appendLines(lines);
    }
    guards.fillingRecord = false;

    const int lines = std::max(3, record->count());
    double y = frame.splitterY();
    if (context.preferences.fixMeta.isY() || y == 4999) {
        y = frame.splitterForLines(lines, editPanel.editPanelShown() ? Layout::kEditPanelHeight : 0);
    }
    if (y < 4000) y = 4000;
    double x = frame.splitterX();
    frame.SizeControls(x, y);

    if (keepText) {
        context.page.text = text;
        context.page.encoding = encoding;
        context.page.file = readFrom;
        context.page.digest = digest;
    }
    if (!record->isEmpty()) view.showLine(record->idAt(1));
    view.refreshMetaPanel();
    return answer;
}

void PageLoading::Timer1_Timer() {
    if (around.browser.inet().StillExecuting() || pendingURL_.isEmpty()) return;
    const QString parked = pendingURL_;
    LoadMetadataFromURL(parked, true);
    pendingURL_.clear();
}

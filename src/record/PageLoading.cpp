// Reading a page's metadata into the record when the browser opens it.
#include "app/Form1.h"

#include "app/Preferences.h"
#include "catalogues/HarvestLists.h"
#include "catalogues/ListDocuments.h"
#include "catalogues/modRSS.h"
#include "commands/modMTP.h"
#include "commands/modMacros.h"
#include "platform/Inet.h"
#include "platform/ListView.h"
#include "platform/MsgBox.h"
#include "platform/PathText.h"
#include "platform/StatusBar.h"
#include "platform/TextCodec.h"
#include "platform/Twips.h"
#include "record/MetaReader.h"
#include "record/modCharEncoding.h"

#include <QComboBox>
#include <QGroupBox>
#include <QTimer>

int Form1::LoadMetadataFromURL(const QString& location, bool keepText) {
    const int answer = saveHtmlCheck();
    if (answer == platform::vbCancel) return platform::vbCancel;
    if (openRecordOnLoad) {
        openRecordOnLoad = false;
        modMTP::runCommand(modMacros::openRecordMacro);
        return answer;
    }

    QString text;
    platform::TextEncoding encoding;
    const QString localPath = platform::localPathFromAddress(location);
    if (platform::isLocalPath(location)) {
        if (MetaReader::isPageFileLocation(localPath)) {
            platform::DecodedText page;
            QString error;
            if (platform::readPageFile(localPath, page, &error)) {
                text = modCharEncoding::fixUtf8Quotes(page.text);
                encoding = page.encoding;
            } else {
                platform::MsgBox(error, platform::vbOKOnly, QStringLiteral("Error saving HTML"));
            }
        } else {
            MetaPanel->Clear();
        }
    } else if (Inet1->StillExecuting()) {
        pendingURL = URL->currentText();
    } else {
        pendingURL.clear();
        Inet1->setURL(location);
        Inet1->setUserName(Preferences::INETname);
        Inet1->setPassword(Preferences::INETid);
        text = Inet1->OpenURL();
        if (Inet1->ResponseCode() != 0) {
            platform::MsgBox(QStringLiteral("ErrorCode: ") + QString::number(Inet1->ResponseCode()), platform::vbOKOnly,
                             QString());
            return answer;
        }
        while (Inet1->StillExecuting()) {
            const QString chunk = Inet1->GetChunk(4096);
            if (!chunk.isEmpty()) text += chunk;
        }
        encoding = Inet1->replyEncoding();
    }

    const MetaReader::PageTextKind kind = MetaReader::pageTextKind(text);
    if (kind != MetaReader::PageTextKind::Record) {
        documentText = text;
        QString address = location;
        URLAddItem(address);
        if (kind == MetaReader::PageTextKind::HarvestControlList) modHCL::loadHCL(location);
        else modRSS::loadRSSChannel(location);
        MetaPanel->Clear();
        MetaPanel->Refresh();
        setMnuFileSaveAs();
        return platform::vbCancel;
    }

    if (!text.isEmpty()) {
        if (MetaPanel->Count() > 0) {
            StatusBar1->setPanelText(3, QStringLiteral("Waiting for Metadata to come in..."));
            if (StatusBar1->panelText(2) != QLatin1String("Merging Metadata")) {
                MetaPanel->Clear();
                EditPanelOff();
            }
        }
        for (const MetadataLine& row : MetaReader::readLinkRows(text)) addRecordLine(row);
        fillingRecord = true;
        for (const MetadataLine& line : MetaReader::LoadMetadataLines(text, !modMacros::openRecordMacro.isEmpty()))
            addRecordLine(line);
    }
    fillingRecord = false;

    const int lines = std::max(3, MetaPanel->Count());
    double y = splitterY();
    if (Preferences::fixMeta == QLatin1String("Y") || y == 4999) {
        y = platform::pixelsToTwips(clientArea->height()) - 870 - 208.0 * lines -
            (EditPanel->isHidden() ? 0 : Layout::kEditPanelHeight);
    }
    if (y < 4000) y = 4000;
    double x = splitterX();
    SizeControls(x, y);

    if (keepText) {
        pageSource = text;
        pageEncoding = encoding;
    }
    if (MetaPanel->Count() > 0) MetaPanel->Item(1)->EnsureVisible();
    MetaPanel->Refresh();
    return answer;
}

void Form1::Timer1_Timer() {
    if (Inet1->StillExecuting() || pendingURL.isEmpty()) return;
    const QString parked = pendingURL;
    LoadMetadataFromURL(parked, true);
    pendingURL.clear();
}

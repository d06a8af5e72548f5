// The navigation pane's making, the drops on the window, the logo and the layout.
#include "gui/app/NavigationPane.h"

#include "gui/app/LogoWidget.h"
#include "core/commands/modMTP.h"
#include "core/program/ProgramContext.h"
#include "core/record/Record.h"
#include "gui/frame/ContentBox.h"
#include "gui/frame/DocumentMenu.h"
#include "gui/frame/RecordEditing.h"
#include "gui/frame/RecordView.h"
#include "gui/frame/WindowFrame.h"
#include "platform/PathText.h"

#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace {

const Qt::CaseSensitivity ci = Qt::CaseInsensitive;

LogoOverlay* makeOverlay(LogoWidget* logo) {
    auto* overlay = new LogoOverlay(logo);
    overlay->setObjectName(QStringLiteral("GifOverlay"));
    return overlay;
}

LogoWidget* makeLogo(QWidget* clientArea) {
    auto* logo = new LogoWidget(clientArea);
    logo->setObjectName(QStringLiteral("Gif89a1"));
    return logo;
}

}  // namespace

// The parts are made in the order of their controls in the window: the toolbar's buttons,
// the address box after them, the logo, then the browser. A part given one made after it
// only keeps it for later.
NavigationPane::NavigationPane(ProgramContext& context, WindowFrame& frame, QToolBar* toolbar, const Neighbours& around)
    : QObject(frame.clientArea()), context(context), around(around),
      toolbar_(toolbar, address_, hub_, browser_, *this), address_(toolbar, hub_, *this),
      Gif89a1(makeLogo(frame.clientArea())), GifOverlay(makeOverlay(Gif89a1)),
      hub_(context, this->around, address_, browser_, *Gif89a1), browser_(this, context, frame, hub_, toolbar_, *Gif89a1) {
    setObjectName(QStringLiteral("navigationPane"));
    connect(GifOverlay, &LogoOverlay::clicked, this, &NavigationPane::GifOverlay_Click);
    connect(GifOverlay, &LogoOverlay::dropped, this, &NavigationPane::GifOverlay_OLEDragDrop);
}

NavigationPane::~NavigationPane() = default;

void NavigationPane::reset() {
    hub_.reset();
    address_.loadURLList();
}

void NavigationPane::stopBusyAnimation() {
    Gif89a1->Stop();
}

void NavigationPane::GifOverlay_Click() {
    hub_.GoHome();
}

void NavigationPane::GifOverlay_OLEDragDrop(const QMimeData* data) {
    dropOnWindow(data);
}

void NavigationPane::describe(Layout::Input& in) const {
    in.browserVisible = !browser_.panel()->isHidden();
}

void NavigationPane::place(const Layout::Result& r) {
    Gif89a1->setGeometry(pixelRect(r.logo));
    GifOverlay->setGeometry(Gif89a1->rect());
    address_.setWidth(std::max(60, platform::twipsToPixels(r.addressBoxWidth)));
    browser_.panel()->setGeometry(pixelRect(r.browser));
}

void NavigationPane::showBrowser(bool on) {
    browser_.panel()->setVisible(on);
}

void NavigationPane::showLogo(bool on) {
    Gif89a1->setVisible(on);
}

// ---- drops ---------------------------------------------------------------------------

void NavigationPane::LoadDragDrop(const QString& item) {
    QString text = item;
    if (text.contains(QLatin1String("mtp://"), ci)) {
        modMTP::runMtpCommand(context, text);
        return;
    }
    if (text.contains(QLatin1String("http://"), ci) || text.contains(QLatin1String("https://"), ci)) {
        hub_.openAddress(text);
        return;
    }
    if (platform::isLocalPath(text)) {
        around.fileMenu.LoadFromOpen(platform::localPathFromAddress(text));
        return;
    }
    // Plain text goes into the current line's content, at the caret of the content box.
    const Record::LineId line = context.record.selectedLine();
    if (!line) return;
    text.remove(QLatin1Char('\r'));
    text.remove(QLatin1Char('\n'));
    text.replace(QChar(0x201D), QLatin1Char('"'));
    around.contentBox.typeIntoContentBox(text);
    around.recordView.SelectLine(context.record.positionOf(line));
    around.recordEditing.editCurrentLine();
}

void NavigationPane::dropOnWindow(const QMimeData* data) {
    if (!data) return;
    if (data->hasUrls()) {
        QStringList files;
        for (const QUrl& url : data->urls()) {
            if (url.isLocalFile()) files << url.toLocalFile();
        }
        if (!files.isEmpty()) {
            for (int i = 1; i < files.size(); ++i) toolbar_.prevNextLoad2(1, files.at(i), files.at(i));
            QString firstFile = files.first();
            if (QFileInfo(firstFile).isDir() && !firstFile.endsWith(QLatin1Char('/'))) firstFile += QLatin1Char('/');
            LoadDragDrop(firstFile);
            return;
        }
    }
    if (data->hasText()) LoadDragDrop(data->text());
}

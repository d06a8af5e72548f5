// The browser pane, its toolbar and address box, and the dialogs of the main window.
#include "AppTestSupport.h"

#include "gui/app/LogoWidget.h"
#include "platform/WidgetInput.h"

#include <QMenu>
#include <QRadioButton>
#include <QToolBar>
#include <QToolButton>

namespace {

class BrowserTest : public WindowTest {
protected:
    CommandRecorder recorder{w.context};
    // A page whose record holds one line: its own name as the title.
    QString page(const QString& name) {
        return write(name, "<meta name=\"DC.Title\" content=\"" + name.toUtf8() + "\">");
    }
    void click(int button) {
        w.find<QAction>(u"Toolbar1_%1"_s.arg(button))->trigger();
        browser().settle();
    }
    // The browser asks about a navigation it was given (a frame's, say).
    void navigate(platform::BeforeNavigateEvent& event, const QString& address) {
        event.address = address;
        Q_EMIT browser().beforeNavigate(event);
    }
    // The history menu of the Previous or the Next button, as the user drops it down.
    QMenu* historyMenu(int button) const {
        QAction* item = w.find<QAction>(u"Toolbar1_%1"_s.arg(button));
        auto* tool = qobject_cast<QToolButton*>(w.find<QToolBar>(u"Toolbar1"_s)->widgetForAction(item));
        return tool ? tool->menu() : nullptr;
    }
    QStringList names(int button) const {
        QStringList out;
        for (const QAction* entry : historyMenu(button)->actions()) out << entry->text().section(u'/', -1);
        return out;
    }
};

TEST_F(BrowserTest, LinksToCommandsAndListsReachTheCommandEntryAndThePageStays) {
    const QStringList links = {u"mtp://field=DC.Subject&content=Heart Disease&scheme=MeSH.fld/"_s,
                               u"http://lists.example/terms.kqs"_s, u"https://lists.example/secure.kqi"_s};
    open(write(u"vocab.htm"_s, "<a href=\"" + links.join(u"\">x</a><a href=\""_s).toUtf8() + "\">x</a>"));
    for (const QString& link : links) ASSERT_TRUE(browser().clickLink(link));
    browser().settle();
    EXPECT_EQ(recorder.commands, (QStringList{links[0], u"mtp://url=lists.example/terms.kqs"_s,
                                              u"mtp://url=https://lists.example/secure.kqi"_s}));
    for (const auto origin : recorder.origins) EXPECT_EQ(origin, modMTP::CommandOrigin::Page);
    EXPECT_TRUE(browser().LocationURL().endsWith(u"vocab.htm"_s));
    open(u"mtp://gotop.fld/"_s);  // typed into the address box: the user's own
    EXPECT_EQ(recorder.origins.last(), modMTP::CommandOrigin::Program);
    platform::BeforeNavigateEvent upper, broken, frame;
    broken.topFrame = frame.topFrame = false;
    frame.targetFrame = u"left"_s;
    navigate(upper, u"MTP://field=X.fld/"_s);  // only the exact prefix is a command
    navigate(broken, u"http:///"_s);
    navigate(frame, u"mtp://field=DC.Title&content=x.fld/"_s);  // frames are never routed
    EXPECT_EQ(recorder.commands.size(), 4);
    EXPECT_TRUE(broken.cancel);
    EXPECT_FALSE(frame.cancel || upper.cancel);
}

TEST_F(BrowserTest, ACancelledSaveQuestionKeepsThePageAndTheRecord) {
    const QString first = page(u"first.htm"_s);
    open(first);
    mark(DocumentState::Document::Record);
    boxes.expect(kSave, kAnswerCancel).expect(kSave, kAnswerCancel).expect(kSave, kAnswerNo);
    open(page(u"second.htm"_s));
    EXPECT_EQ(w.context.record.lines().first().content, u"first.htm"_s);
    EXPECT_EQ(w.context.document.currentHTMLFile(), first);
    EXPECT_TRUE(browser().LocationURL().endsWith(u"first.htm"_s));
    platform::BeforeNavigateEvent ftp, again;  // Ftp asks too: Cancel keeps the record, No clears it
    navigate(ftp, u"ftp://files.example/pub/"_s);
    EXPECT_TRUE(ftp.cancel);
    EXPECT_EQ(w.context.record.count(), 1);
    navigate(again, ftp.address);
    EXPECT_FALSE(again.cancel);
    EXPECT_EQ(w.context.record.count(), 0);
}

TEST_F(BrowserTest, NewWindowsGoToASecondProgramButCommandsStayHere) {
    StartedProcesses started;
    for (const QString& address :
         {u"http://news.example/"_s, u"mtp://field=DC.Title&content=x.fld/"_s, u"javascript:alert(1)"_s})
        browser().openNewWindow(address, true);
    browser().settle();
    ASSERT_EQ(started.size(), 1);
    EXPECT_EQ(started.first().mid(1), QStringList{u"http://news.example/"_s});
    EXPECT_EQ(recorder.commands, QStringList{u"mtp://field=DC.Title&content=x.fld/"_s});
}

TEST_F(BrowserTest, AddressBoxEnterAndDrops) {
    const auto enter = [&](const QString& text) {
        w.find<QComboBox>(u"URL"_s)->setEditText(text);
        widget_input::key(w.find<QComboBox>(u"URL"_s)->lineEdit(), Qt::Key_Return);
        browser().settle();
    };
    enter(QString());  // nothing, no sound
    EXPECT_EQ(w.find<QComboBox>(u"URL"_s)->count(), 0);
    const QString htm = page(u"typed.htm"_s);
    enter(htm);
    EXPECT_EQ(w.find<QComboBox>(u"URL"_s)->itemText(0), htm);  // a local path is kept as a path
    EXPECT_EQ(w.context.record.count(), 1);
    QMimeData text;
    text.setText(u"just words"_s);
    widget_input::drop(w.find<QComboBox>(u"URL"_s), QPoint(5, 5), text);
    EXPECT_EQ(w.find<QComboBox>(u"URL"_s)->currentText(), htm);
    text.setText(u"see HTTP://x.example/a.fld.htm"_s);
    widget_input::drop(w.find<QComboBox>(u"URL"_s), QPoint(5, 5), text);
    EXPECT_EQ(w.find<QComboBox>(u"URL"_s)->currentText(), u"HTTP://x.example/a.htm"_s);
}

TEST_F(BrowserTest, ButtonsAndHistoryMenusGoBackForwardHomeRefreshAndSearch) {
    const QString a = page(u"a.htm"_s);
    open(a);
    open(page(u"b.htm"_s));
    click(2);
    EXPECT_TRUE(browser().LocationURL().endsWith(u"a.htm"_s));
    click(3);
    EXPECT_TRUE(browser().LocationURL().endsWith(u"b.htm"_s));
    w.context.preferences.Home = a;
    click(5);
    EXPECT_EQ(w.find<QComboBox>(u"URL"_s)->currentText(), a);
    EXPECT_EQ(w.context.record.lines().first().content, u"a.htm"_s);
    w.context.record.clear();
    click(6);  // Refresh reads the page again, but not a blank one
    EXPECT_EQ(w.context.record.count(), 1);
    w.find<QComboBox>(u"URL"_s)->setEditText(u"about:blank"_s);
    w.context.record.clear();
    click(6);
    EXPECT_EQ(w.context.record.count(), 0);
    {
        // Search goes to the search page on the web, which is a closed local port here: its
        // record cannot be read, and the user is told.
        const QByteArray proxy = qgetenv("https_proxy");
        qputenv("https_proxy", "http://127.0.0.1:9");
        boxes.expect(u"refused: duckduckgo.com"_s, kAnswerOk);
        click(7);
        qputenv("https_proxy", proxy);
    }
    EXPECT_EQ(browser().navigations().last().address, platform::kDefaultSearchPage);
    // The history menus move like a browser's history.
    // Files dropped on the logo: the first opens, the others go to the Back list.
    const QString current = page(u"current.htm"_s);
    open(current);
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(current), QUrl::fromLocalFile(page(u"one.htm"_s)),
                   QUrl::fromLocalFile(page(u"two.htm"_s)), QUrl::fromLocalFile(page(u"three.htm"_s))});
    widget_input::drop(w.find<LogoOverlay>(u"GifOverlay"_s), QPoint(5, 5), files);
    EXPECT_EQ(names(NavigationPane::kPreviousButton), QStringList({u"three.htm"_s, u"two.htm"_s, u"one.htm"_s}));
    historyMenu(NavigationPane::kPreviousButton)->actions().at(1)->trigger();
    browser().settle();
    EXPECT_TRUE(w.find<QComboBox>(u"URL"_s)->currentText().endsWith(u"two.htm"_s));
    EXPECT_EQ(names(NavigationPane::kNextButton), QStringList({u"three.htm"_s, u"current.htm"_s}));
    EXPECT_EQ(names(NavigationPane::kPreviousButton), QStringList({u"one.htm"_s}));
    historyMenu(NavigationPane::kPreviousButton)->actions().at(0)->trigger();  // the last entry empties the list
    browser().settle();
    EXPECT_FALSE(w.find<QAction>(u"Toolbar1_2"_s)->isEnabled());
    EXPECT_EQ(names(NavigationPane::kNextButton), QStringList({u"two.htm"_s, u"three.htm"_s, u"current.htm"_s}));
}

TEST_F(BrowserTest, PreferencesDialogStoresOnOkAndPutsBackOnCancel) {
    w.context.preferences.Home = u"http://home.example/"_s;
    w.context.preferences.charEncoding = u"1"_s;
    w.find<QAction>(u"mnuEditPrefs"_s)->trigger();
    QDialog& prefs = *w.find<QDialog>(u"frmPreferences"_s);
    const auto encoding = [&prefs](int i) { return child<QRadioButton>(prefs, u"radNoEncoding_%1"_s.arg(i)); };
    EXPECT_TRUE(encoding(1)->isChecked());
    press(prefs, u"cmdClearCacheNow"_s);
    EXPECT_EQ(recorder.commands, (QStringList{u"mtp://delete=all.kqs/"_s, u"mtp://delete=all.kqi/"_s}));
    typeOver(prefs, u"txtHome"_s, u"http://elsewhere.example/"_s);
    press(prefs, u"radNoEncoding_2"_s);
    press(prefs, u"cmdOK"_s);
    EXPECT_EQ(w.context.preferences.Home + w.context.preferences.charEncoding, u"http://elsewhere.example/2"_s);
    EXPECT_EQ(CRegSettings(w.context.settings).GetSetting(u"Preferences"_s, u"Home"_s, QString()), u"http://elsewhere.example/"_s);
    // Cancel puts back the home page seen at opening; a repository forces no encoding.
    w.context.macros.saveRecordMacro = u"mtp://save.kqb/"_s;
    prefs.show();
    EXPECT_TRUE(encoding(1)->isHidden());
    w.context.preferences.Home = u"changed meanwhile"_s;
    press(prefs, u"cmdCancel"_s);
    EXPECT_EQ(w.context.preferences.Home + w.context.preferences.charEncoding, u"http://elsewhere.example/0"_s);
}

}  // namespace

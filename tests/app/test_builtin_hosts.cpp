// The program's own hosts on a machine without a network: whatever the menus, the help, the
// element lists and the scheme rules ask of them is answered from the bundle, as a list, page
// or template, or as a list that says it is not bundled; only other hosts may fail, once a click.
#include "AppTestSupport.h"

#include "gui/app/frmHelpBrowser.h"
#include "core/catalogues/ListLines.h"
#include "core/commands/ListLoading.h"
#include "gui/domains/ResourcesMenu.h"
#include "core/domains/SchemeHosts.h"
#include "core/domains/modCheckList.h"
#include "gui/app/HelpMenu.h"
#include "platform/Folders.h"
#include "platform/widgets/Modal.h"
#include "platform/SchemeBundle.h"
#include "platform/WidgetInput.h"
#include "core/record/MetaReader.h"

#include <QDialog>
#include <QDirIterator>
#include <QHeaderView>
#include <QMenu>
#include <QRegularExpression>

namespace {

namespace SB = platform::SchemeBundle;
constexpr auto ci = Qt::CaseInsensitive;
const QString kNotBundled = u"is not bundled"_s;

// Every domain the program dispatches on, the catalogue's and the others.
QStringList everyDomain() {
    QStringList domains = {u"AGLS"_s, u"AGLS1.2"_s, u"EdNA"_s, u"Aust Business Entry Point"_s};
    DomainCatalogue catalogue;
    modCheckList::fillSchemaCatalogue(catalogue, QString());
    for (int i = 0; i < modCheckList::catalogueRowCount(catalogue); ++i) domains << catalogue.schemaShortNames[size_t(i)];
    return domains;
}

class BuiltInHostsTest : public ::testing::Test {
protected:
    // The program's own scheme server, already when the window builds its menus.
    testing_support::TestWindow w{SchemeHosts::builtInSchemeServer};
    QTemporaryDir dir;
    QByteArray oldProxy = qgetenv("http_proxy");
    QStringList commands;
    QList<platform::MsgBoxCall> shown;
    testing_support::MsgBoxReplies replies{[this](const platform::MsgBoxCall& call) {
        shown << call;
        return int(kAnswerOk);
    }};
    testing_support::ModalReplies modals{[](QDialog& dialog) {
        dialog.reject();
        return int(QDialog::Rejected);
    }};
    int bundled = 0, notBundled = 0;  // the walks that met each answer

    void SetUp() override {
        w.context.commands.loggingOn = false;
        modMetaMain::createCacheDirs();  // as at every start
        // No network: every other host ends at once at a closed local port.
        qputenv("http_proxy", "http://127.0.0.1:9");
        testing_support::testDispatcher(w.context).take = [this](const QString& command, modMTP::CommandOrigin) {
            commands << command;
            return false;
        };
        w->resize(1000, 760);
        widget_input::showAndWait(w.form.get());
    }
    void TearDown() override {
        testing_support::testDispatcher(w.context).take = {};
        qputenv("http_proxy", oldProxy);
    }
    ListTree& tree() const { return w.context.listTrees[0]; }
    testing_support::OfflineBrowser& browser() const { return testing_support::offlineBrowser(w.find<platform::WebBrowser>(u"WebBrowser1"_s)); }
    testing_support::OfflineBrowser& helpBrowser() const {
        return testing_support::offlineBrowser(child<platform::WebBrowser>(w.helpMenu().helpWindow(), u"WebBrowser1"_s));
    }
    // The address of a list or template command ("mtp://url=host/path.kqs/").
    static QString addressOf(QString command) {
        command.remove(QRegularExpression(u"^mtp://(url=|open=)?"_s, QRegularExpression::CaseInsensitiveOption));
        command = command.trimmed();
        if (command.endsWith(u'/')) command.chop(1);
        return command;
    }
    static bool ownHost(const QString& address) { return SB::isOwnHost(QUrl::fromUserInput(address).host()); }

    // Does what the user does, then checks what the last address of the program's own hosts got:
    // a bundled list fills the tree, a not-bundled one shows one line and is not cached, a
    // template fills the record. Other hosts may give one network message; boxes whose text
    // holds one of `expected` may come up when no list was asked for.
    void walk(const QString& what, const std::function<void()>& action, const QStringList& expected = {}) {
        commands.clear();
        shown.clear();
        w.context.record.clear();
        w.context.document.dropMark();
        action();
        browser().settle();
        QString last;
        for (const QString& command : std::as_const(commands))
            if (command.contains(u".kq"_s, ci)) last = command;
        const QString address = addressOf(last);
        if (last.isEmpty() || !ownHost(address)) {
            // Another host's failure is told once; it names the host.
            const QString host = shown.value(0).text.section(u": "_s, -1).chopped(1);
            if (shown.size() == 1 && (!last.isEmpty() || (shown[0].text.startsWith(u"ErrorCode"_s) && !SB::isOwnHost(host))))
                return;
            for (const platform::MsgBoxCall& box : std::as_const(shown))
                EXPECT_TRUE(std::any_of(expected.begin(), expected.end(), [&](const QString& e) { return box.text.contains(e); }))
                    << what << ": " << box.text;
            return;
        }
        for (const platform::MsgBoxCall& box : std::as_const(shown)) ADD_FAILURE() << what << ": " << box.text;
        const SB::Answer answer = SB::answerForAddress(address);
        ASSERT_EQ(answer.status, 200) << what << " asks for " << address;
        ++(answer.storable ? bundled : notBundled);
        if (last.contains(u".kqb"_s, ci)) {
            EXPECT_GT(w.context.record.count(), 0) << what;
        } else if (answer.storable) {
            EXPECT_GE(tree().count(), 2) << what;
            EXPECT_FALSE(tree().item(2) && tree().text(tree().item(2)).contains(kNotBundled)) << what;
        } else {
            EXPECT_EQ(tree().count(), 2) << what;
            EXPECT_TRUE(tree().item(2) && tree().text(tree().item(2)).contains(kNotBundled)) << what;
            const QString kind = last.contains(u".kqi"_s, ci) ? u"indexes"_s : u"schema"_s;
            EXPECT_FALSE(QFileInfo::exists(platform::programDataFolder() + u"/cache/"_s + kind + u'/' +
                                           modMTP::listCacheFileName(address.section(u'/', -1))))
                << what;
        }
    }
    // A page of the program's own hosts is shown with its own title.
    static void expectBundledPage(const QString& what, testing_support::OfflineBrowser& shownIn) {
        const QString address = shownIn.LocationURL();
        if (!ownHost(address)) return;
        EXPECT_EQ(SB::answerForAddress(address).status, 200) << what << ": " << address;
        EXPECT_NE(shownIn.LocationName(), address) << what << " has no title";
    }
    QStringList elementsInTree() const {
        QStringList elements;
        for (int i = 1; i <= tree().count(); ++i) {
            const QString tag = tree().tag(tree().item(i));
            if (tag.contains(u"field="_s)) elements << tag.section(u"field="_s, 1).section(u'&', 0, 0).toLower();
        }
        return elements;
    }
};

TEST_F(BuiltInHostsTest, EveryResourceElementListTemplateTutorialAndHelpPageIsThereWithoutANetwork) {
    QList<QAction*> leaves;
    const std::function<void(const QMenu*)> collect = [&](const QMenu* menu) {
        for (QAction* a : menu->actions()) a->menu() ? collect(a->menu()) : a->isSeparator() ? void() : leaves.append(a);
    };
    collect(w.find<QMenu>(u"mnuRes1"_s));
    for (QAction* item : leaves) {
        const auto click = [item] {
            item->setVisible(true);
            item->trigger();
        };
        walk(item->text(), click, {modSchemas::kUnknownDomainMessage});
    }
    for (const QString& domain : everyDomain()) {
        w.context.domain.defaultSchema = domain;
        walk(u"Add line, "_s + domain, [this] { w.find<QAction>(u"mnuMaintMeta_%1"_s.arg(MetaPanelEvents::kAddAglsLine))->trigger(); });
        if (ownHost(addressOf(commands.value(0)))) {
            const QStringList elements = elementsInTree();
            for (const QString& element : modSchemas::schemeTableElements(domain))
                EXPECT_TRUE(elements.contains(element.toLower())) << domain << " lacks " << element;
        }
        w.context.preferences.FileNewURL.clear();
        modSchemas::applyDomainDefaults(w.context);
        if (!w.context.preferences.FileNewURL.isEmpty())
            walk(u"Default template, "_s + domain, [this] { w.find<QAction>(u"mnuFileNew_%1"_s.arg(FileMenu::kNewTemplate))->trigger(); });
        w.find<QComboBox>(u"URL"_s)->setEditText(QString());
        walk(u"Tutorial, "_s + domain, [this] { w->findChild<QAction*>(u"mnuHelpTutorial"_s)->trigger(); });
        expectBundledPage(domain, browser());
    }
    for (QAction* item : w->findChild<QMenu*>(u"mnuHelpDocumentation"_s)->findChildren<QAction*>()) {
        if (item->menu() || item->isSeparator() || item->objectName().isEmpty()) continue;
        item->trigger();
        helpBrowser().settle();
        expectBundledPage(item->text(), helpBrowser());
        EXPECT_TRUE(helpBrowser().LocationURL().contains(u"/manual2/"_s)) << item->text().toStdString();
    }
    w->findChild<QAction*>(u"mnuHelpAbout"_s)->trigger();
    press(*w.find<QDialog>(u"frmAbout"_s), u"Credits"_s);
    browser().settle();
    EXPECT_EQ(browser().LocationName(), u"Credits"_s);
    EXPECT_GT(bundled, 60);
    EXPECT_GT(notBundled, 60);
}

TEST_F(BuiltInHostsTest, LoadSchemeFromEverySchemeOfEveryTableIsAnsweredWithoutANetwork) {
    MetaPanelView& panel = *w.find<MetaPanelView>(u"MetaPanel"_s);
    for (const QString& domain : everyDomain()) {
        w.context.domain.defaultSchema = domain;
        for (const QString& element : modSchemas::schemeTableElements(domain)) {
            for (const QString& scheme : modSchemas::getSchemeList(w.context.domain, element, {}).split(u'|', Qt::SkipEmptyParts)) {
                walk(domain + u", "_s + element + u", "_s + scheme, [&] {
                    w.context.record.append({element, {}, {}, scheme});
                    const QPoint cell(panel.header()->sectionViewportPosition(3) + 5,
                                      panel.visualRect(panel.model()->index(0, 0)).center().y());
                    widget_input::click(panel.viewport(), Qt::LeftButton, {}, cell);
                }, {u"There is no scheme to load"_s});
            }
        }
    }
    if (QMenu* tags = w->findChild<QMenu*>(u"mnuResTags0"_s)) tags->hide();
    EXPECT_GT(bundled, 40);
    EXPECT_GT(notBundled, 40);
}

TEST_F(BuiltInHostsTest, ABatchKeepsTheMediaTypesAsAListWithTextHtml) {
    const QString saved = dir.filePath(u"types.kqs"_s);
    const QString batch = testing_support::writeBytes(
        dir.filePath(u"keep.kqb"_s), "mtp://url=schemes.quorvantil.example/schemes/IMT.kqs\r\nmtp://save=" + saved.toUtf8() + "\r\n");
    modMTP::runMtpCommand(w.context, u"mtp://open="_s + batch);
    EXPECT_TRUE(shown.isEmpty()) << shown.value(0).text;
    EXPECT_TRUE(testing_support::readBytes(saved).contains("\r\ntext|text/html|mtp://field=DC.Format&content=text/html&scheme=IMT.fld/\r\n"));
}

TEST_F(BuiltInHostsTest, OnlyBundledListsAreCachedAndANewBundleReplacesThem) {
    const QString cache = platform::programDataFolder() + u"/cache/"_s;
    modMTP::runMtpCommand(w.context, u"mtp://url=schemes.quorvantil.example/agls/TAGS-AG.kqs"_s);
    modMTP::runMtpCommand(w.context, u"mtp://url=schemes.quorvantil.example/schemes/IMT.kqs"_s);
    EXPECT_FALSE(QFileInfo::exists(cache + u"schema/TAGS-AG.kqs"_s));
    EXPECT_TRUE(QFileInfo::exists(cache + u"schema/IMT.kqs"_s));
    const QString mine = testing_support::writeBytes(cache + u"schema/Mine.kqs"_s, "A|mtp://x.fld/\r\n");
    testing_support::writeBytes(cache + u"bundle.stamp"_s, "an older bundle\r\n");
    modMTP::forgetListsOfAnotherBundle();
    EXPECT_FALSE(QFileInfo::exists(cache + u"schema/IMT.kqs"_s));
    EXPECT_TRUE(QFileInfo::exists(mine));
    EXPECT_EQ(testing_support::readBytes(cache + u"bundle.stamp"_s).trimmed(), SB::stamp());
    modMTP::runMtpCommand(w.context, u"mtp://url=schemes.quorvantil.example/schemes/IMT.kqs"_s);
    modMTP::forgetListsOfAnotherBundle();  // the same bundle: the copy stays
    EXPECT_TRUE(QFileInfo::exists(cache + u"schema/IMT.kqs"_s));
}

// A new user on a machine without a network: the welcome, then the program's own home page;
// no box, neither at the first start nor at the next.
TEST(BuiltInHostsStart, TheWelcomeThenTheHomePageAndNoErrorAtAnyStart) {
    testing_support::FreshStore store;
    const QByteArray server = qgetenv("QUORVANTIL_SCHEME_SERVER"), proxy = qgetenv("http_proxy");
    qunsetenv("QUORVANTIL_SCHEME_SERVER");
    qputenv("http_proxy", "http://127.0.0.1:9");
    int welcomes = 0;
    const testing_support::ModalReplies modals([&](QDialog& dialog) {
        ++welcomes;
        dialog.show();
        press(dialog, u"okButton"_s);  // the domain proposed: Dublin Core
        return dialog.result();
    });
    for (int start = 1; start <= 2; ++start) {
        testing_support::TestContext context;
        std::unique_ptr<QMainWindow> form(modMetaMain::Main(context, testing_support::modalRuns(), QString()));
        testing_support::OfflineBrowser& browser = testing_support::offlineBrowser(form->findChild<platform::WebBrowser*>(u"WebBrowser1"_s));
        browser.settle();
        EXPECT_EQ(form->findChild<QComboBox*>(u"URL"_s)->currentText(), u"http://schemes.quorvantil.example"_s);
        EXPECT_EQ(browser.LocationName(), u"Quorvantile"_s);
        EXPECT_EQ(context.record.count(), 0);  // the program's pages carry no record
        if (start == 1) {
            EXPECT_GT(context.listTrees[0].count(), 10) << "the chosen domain's elements";
        }
        form->close();
    }
    EXPECT_EQ(welcomes, 1);
    qputenv("QUORVANTIL_SCHEME_SERVER", server);
    qputenv("http_proxy", proxy);
}

// What the bundle holds, read as the program reads it.
TEST(SchemeBundleContent, PagesAreNeverListsListsLoadWholeAndLinksLead) {
    const QString top = SB::folder();
    ASSERT_FALSE(top.isEmpty());
    int pages = 0, lists = 0;
    for (QDirIterator it(top, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString file = it.next();
        const QString relative = file.mid(top.size());
        const QByteArray bytes = testing_support::readBytes(file);
        if (relative.endsWith(u".htm"_s) || relative.endsWith(u".html"_s)) {
            ++pages;
            for (const char* mark : {"<aglsxml", "hcl.dtd", "purl.org/rss/1.0", "<rss version=\"2.0\">"})
                EXPECT_FALSE(bytes.toLower().contains(mark)) << relative << " holds " << mark;
            EXPECT_EQ(MetaReader::readPage(QString::fromUtf8(bytes), false).kind, MetaReader::PageTextKind::Record)
                << relative;
            const QRegularExpression href(u"href=\"(/[^\"#]*)"_s);
            for (const QRegularExpressionMatch& link : href.globalMatch(QString::fromUtf8(bytes)))
                EXPECT_EQ(SB::answer(u"GET"_s, link.captured(1)).status, 200) << relative << " links " << link.captured(1);
        } else if (relative.endsWith(u".kqs"_s) || relative.endsWith(u".kqi"_s)) {
            ++lists;
            ListTree tree;
            tree.add(0, ListTree::Place::Last, u"List\\"_s, u"List"_s, 5, 5);
            int n = 0;
            for (const QString& line : platform::splitLines(QString::fromUtf8(bytes))) {
                const QString result = relative.endsWith(u".kqs"_s) ? ListLines::addLineToScheme(u"List"_s, line, n, tree)
                                                                    : ListLines::addLineToIndex(u"List"_s, line, n, tree);
                ASSERT_EQ(result, u"0"_s) << relative << ": " << line;
            }
            EXPECT_GT(tree.count(), 1) << relative;
        }
    }
    EXPECT_GT(pages, 30);
    EXPECT_GT(lists, 20);
}

}  // namespace

#include "CommandsTestSupport.h"

#include "gui/app/frmHelpBrowser.h"
#include "gui/app/HelpMenu.h"
#include "platform/Inet.h"
#include "core/catalogues/ListTree.h"
#include "support/LocalHttpServer.h"

#include <QTest>
#include <QClipboard>
#include <QGuiApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>

#include <mutex>
#include <thread>

using namespace Qt::StringLiterals;
using commands_test::lineOf;
using platform::kAnswerOk;

namespace {

// A repository on 127.0.0.1 that keeps every request as "METHOD target body".
class RepositoryTest : public commands_test::CommandsTest {
protected:
    testing_support::LocalHttpServer repo;
    const QString host = repo.url().mid(7);
    std::mutex mutex;
    QStringList seen;

    RepositoryTest() {
        const auto answer = [this](const char* reply, int status = 200) {
            return [this, reply, status](const httplib::Request& request, httplib::Response& response) {
                std::lock_guard lock(mutex);
                seen << QString::fromStdString(request.method + ' ' + request.target + ' ' + request.body);
                response.status = status;
                response.set_content(reply, "text/html");
            };
        };
        repo.server().Post("/get", answer("<head><meta name=\"DC.Title\" content=\"From the repository\"></head>writeToCache"));
        repo.server().Post("/(plain|list)", answer("Done"));
        repo.server().Post("/save", answer("Save Record Error: not stored"));
        repo.server().Get("/schemes", answer("serverSchemes=LCSH|MESH|\r\n"));
        repo.server().Get("/garbage", answer("<html>serverSchemes</html>"));
        repo.server().Get("/broken", answer("oops", 500));
        repo.server().Post("/stall", [this](const httplib::Request&, httplib::Response&) {
            for (int i = 0; i < 600 && !repo.released(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        });
    }
    QString lastSeen() { std::lock_guard lock(mutex); return seen.value(seen.size() - 1); }
    // Runs a request and lets the help window take the reply.
    void send(const QString& command) {
        dispatch(command);
        frmHelpBrowser& help = w.helpMenu().helpWindow();
        // A reply read waits for the window's timer.
        const platform::Inet* transfer = testing_support::child<platform::Inet>(help, u"PostInet"_s);
        const QTimer* timer = testing_support::child<QTimer>(help, u"Timer1"_s);
        QElapsedTimer clock;
        for (clock.start(); (transfer->StillExecuting() || timer->isActive()) && clock.elapsed() < 5000;)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
};

TEST_F(RepositoryTest, RecordRequestsPostTheAddressBoxPageAndARecordReplyBecomesTheRecord) {
    w.find<QComboBox>(u"URL"_s)->setEditText(u"http://site.example/page.htm"_s);
    w.context.document.setCurrentHTMLFile(home() + u"/page.htm"_s);
    send(u"mtp://cgisend="_s + host + u"/get?getIISRecord.kqb"_s);
    EXPECT_EQ(lastSeen(), u"POST /get? getRecordhttp://site.example/page.htm"_s);
    EXPECT_EQ(record(), MetadataRecord({lineOf("DC.Title", "From the repository")}));
    EXPECT_NE(w.context.document.currentHTMLFile(), home() + u"/page.htm"_s);

    const std::pair<const char*, const char*> rows[] = {
        {"/plain?showform=1&getIISRecord.kqb", "POST /plain?showform=1& getRecordsite.example/page.htm"},
        {"/plain?getIISNonURLRecord.kqb", "POST /plain? getNonURLRecord"},
        {"/plain?deleteIISRecord.kqb", "POST /plain? deleteRecordhttp://site.example/page.htm"},
        {"/plain?getRecord.KQB", "POST /plain?getRecord http://site.example/page.htm"}};
    for (const auto& [path, request] : rows) {
        send(u"mtp://cgisend="_s + host + QLatin1String(path));
        EXPECT_EQ(lastSeen(), QLatin1String(request)) << path;
    }
    EXPECT_EQ(w.context.document.modeText(), u"Ready"_s);  // after the delete
}

TEST_F(RepositoryTest, ARecordSavePostsTheMetaBlockAFailedSaveStaysModifiedAndTheSchemeListIsStored) {
    w.context.record.append(lineOf("DC.Title", "Mine & yours"));
    w.context.domain.linkRelLines = u"<link rel=\"schema.DC\" href=\"http://purl.org/dc/elements/1.1/\">"_s;
    w.context.preferences.INETname = u"proxy user"_s;
    w.context.preferences.INETid = u"secret"_s;
    for (const char* useLinkRel : {"Y", "y"}) {
        w.context.preferences.UseLinkRel.setText(QLatin1String(useLinkRel));
        w.context.document.markModified(DocumentState::Document::Record);
        send(u"mtp://cgisend="_s + host + u"/save.kqb"_s);
        const QString links = w.context.preferences.UseLinkRel.text() == u"Y"_s ? w.context.domain.linkRelLines + u"\r\n"_s : QString();
        // What Edit > Copy Metadata to Clip as HTML puts on the clipboard is what is posted.
        w->findChild<QAction*>(u"mnuEditCopyMeta"_s)->trigger();
        const QString copied = QGuiApplication::clipboard()->text();
        EXPECT_TRUE(copied.startsWith(links) && copied.contains(u"<META NAME="_s)) << copied.toStdString();
        EXPECT_EQ(lastSeen(), u"POST /save "_s + copied);
        EXPECT_TRUE(w.context.document.modified(DocumentState::Document::Record));
    }
    // The firewall's user and password are for a proxy only.
    for (const auto& request : repo.requests()) EXPECT_FALSE(request.hasHeader("authorization"));
    // The scheme list is stored; a failed answer leaves it empty, so it is asked for again.
    dispatch(u"mtp://cgisend="_s + host + u"/schemes?returnSchemes.kqb"_s);
    EXPECT_EQ(lastSeen(), u"GET /schemes?returnSchemes.kqb/ "_s);
    EXPECT_EQ(w.context.macros.repositorySchemes, u"LCSH|MESH|"_s);
    EXPECT_EQ(w.context.macros.repositoryScheme, u"LCSH"_s);
    boxes.expect(u"ErrorCode:  500"_s, kAnswerOk).expect(u"can't find the repository at mtp://"_s + host + u"/garbage?"_s, kAnswerOk);
    for (const char* path : {"/broken", "/garbage"}) {
        w.context.macros.repositorySchemes = u"old|"_s;
        dispatch(u"mtp://cgisend="_s + host + QLatin1String(path) + u"?returnSchemes.kqb"_s);
        EXPECT_TRUE(w.context.macros.repositorySchemes.isEmpty()) << path;
    }
}

TEST_F(RepositoryTest, TheRepositoryCatalogueIsSentAfterItsCountIsConfirmedAndCancelEndsAStalledSend) {
    ListTree& catalogue = w.context.listTrees[1];
    const QString list = u"mtp://cgisendList="_s + host + u"/list?SendIISList.kqb"_s;
    boxes.expect(u"There are no records in this list to send. Are you sure?"_s, platform::kAnswerCancel);
    dispatch(list);
    const ListTree::NodeId main = catalogue.add(0, ListTree::Place::Last, u"\\"_s, u"Main"_s);
    const ListTree::NodeId sites = catalogue.add(main, ListTree::Place::Child, u"\\S\\"_s, u"Sites"_s);
    catalogue.setTag(catalogue.add(sites, ListTree::Place::Child, u"\\S\\A\\"_s, u"A"_s), u"http://a.example/"_s);
    boxes.expect(u"This list contains  2 items. Click to proceed."_s, kAnswerOk);
    send(list);
    const QByteArray file = testing_support::readBytes(home() + u"/cache/Index.kqi"_s);
    EXPECT_EQ(file, "Main|Sites|\r\nMain|Sites|A|http://a.example/\r\n");
    EXPECT_EQ(lastSeen(), u"POST /list? SaveList="_s + QString::fromUtf8(file));
    EXPECT_EQ(w.context.treeIndex, 0);
    // A catalogue holding an entry its file could not give back is named, and nothing goes out.
    const ListTree::NodeId odd = catalogue.add(sites, ListTree::Place::Child, u"\\S\\B\\"_s, u"B"_s);
    catalogue.setTag(odd, u"see mtp://x|y"_s);
    boxes.expect(u"A list file can't keep the entry \"Main > Sites > B\": its tag holds \"|\" and holds \"mtp://\" "
                 "without beginning with it. The list was not sent."_s,
                 kAnswerOk);
    dispatch(list);
    EXPECT_EQ(repo.requests().size(), 1);
    EXPECT_EQ(testing_support::readBytes(home() + u"/cache/Index.kqi"_s), file);
    catalogue.remove(odd);
    // A catalogue file that cannot be written is reported and nothing goes out.
    QFile::remove(home() + u"/cache/Index.kqi"_s);
    QDir().mkpath(home() + u"/cache/Index.kqi/x"_s);
    boxes.expect(QString(), kAnswerOk);
    send(list);
    EXPECT_EQ(boxes.shown().constLast().title, u"Error opening "_s + home() + u"/cache/Index.kqi"_s);
    EXPECT_EQ(repo.requests().size(), 1);
    // Cancel in the wait dialog ends the wait for a repository that does not answer.
    QDir(home() + u"/cache/Index.kqi"_s).removeRecursively();
    w.context.document.setStatus(u"Busy"_s);
    boxes.expect(u"This list contains  2 items"_s, kAnswerOk);
    testing_support::ScriptedModals modals;
    modals.then([](QDialog& dialog) {
        QTimer::singleShot(300, &dialog, [&dialog] { testing_support::press(dialog, u"Cancel"_s); });
        QTest::qWait(120);  // its timers tick while it is up
    });
    run(u"mtp://cgisendList="_s + host + u"/stall.kqb"_s);
    EXPECT_EQ(w.context.document.modeText(), u"Busy"_s);
    EXPECT_TRUE(testing_support::child<platform::Inet>(w.helpMenu().helpWindow(), u"PostInet"_s)->StillExecuting());
}

}  // namespace

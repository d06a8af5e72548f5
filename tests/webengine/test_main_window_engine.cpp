// The main window with the real engine: a click on a vocabulary link reaches the command
// entry exactly as written, and a web page's meta elements fill the metadata panel.
#include <QMainWindow>
#include "platform/webengine/WebEngineBrowser.h"
#include "gui/app/frmHelpBrowser.h"
#include "support/core/TestContext.h"
#include "gui/app/modMetaMain.h"
#include "core/program/ProgramContext.h"
#include "support/Common.h"
#include "support/CommandRecorder.h"
#include "support/LocalHttpServer.h"
#include "support/ScriptedUi.h"
#include "platform/WidgetInput.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTimer>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

bool waitUntil(const std::function<bool()>& done, int timeoutMs = 30000);  // in the test main

namespace {

class MainWindowEngineTest : public ::testing::Test {
protected:
    testing_support::FreshStore store;
    testing_support::TestContext context;
    testing_support::CommandRecorder recorder{context};
    testing_support::LocalHttpServer server;
    QTemporaryDir folder;
    std::unique_ptr<QMainWindow> form;

    void SetUp() override {
        server.server().Get("/served.htm", [](const httplib::Request&, httplib::Response& response) {
            response.set_content(
                "<html><head><title>Served</title>"
                "<meta name=\"DC.Title\" content=\"Served over HTTP\">"
                "<meta name=\"DC.Subject\" scheme=\"MeSH\" content=\"Heart Diseases\">"
                "</head><body>served</body></html>",
                "text/html; charset=utf-8");
        });
        testing_support::writeBytes(
            folder.filePath(QStringLiteral("vocab.htm")),
            QStringLiteral("<html><head><meta charset='utf-8'><title>Vocabulary</title></head><body>"
                           "<a id='term' href='mtp://field=DC.Subject&content=Heart Disease&scheme=MeSH.fld/'>Heart</a>"
                           "<a id='web' href='%1'>Web page</a></body></html>")
                .arg(server.url(QStringLiteral("/served.htm")))
                .toUtf8());
        form = std::unique_ptr<QMainWindow>(modMetaMain::newMainWindow(context, testing_support::modalRuns()));
        form->resize(900, 700);
        form->show();
    }

    platform::webengine::WebEngineBrowser& engine() {
        return *static_cast<platform::webengine::WebEngineBrowser*>(form->findChild<platform::WebBrowser*>(QStringLiteral("WebBrowser1")));
    }
    void click(const QString& id) {
        engine().page()->runJavaScript(QStringLiteral("document.getElementById('%1').click()").arg(id));
    }
    void openVocabulary() {
        form->findChild<QComboBox*>(QStringLiteral("URL"))->setEditText(folder.filePath(QStringLiteral("vocab.htm")));
        widget_input::key(form->findChild<QComboBox*>(QStringLiteral("URL"))->lineEdit(), Qt::Key_Return);
        ASSERT_TRUE(waitUntil([&] { return engine().Document().links.size() == 2 && !engine().Busy(); }));
    }
};

TEST_F(MainWindowEngineTest, AClickedTermReachesTheCommandEntryAsWrittenAndAWebLinkFillsThePanel) {
    ASSERT_NO_FATAL_FAILURE(openVocabulary());
    click(QStringLiteral("term"));
    ASSERT_TRUE(waitUntil([&] { return !recorder.commands.isEmpty(); }));
    EXPECT_EQ(recorder.commands,
              QStringList{QStringLiteral("mtp://field=DC.Subject&content=Heart Disease&scheme=MeSH.fld/")});
    // A script's click(), as here, is the page's doing, not the user's.
    EXPECT_EQ(recorder.origins.first(), modMTP::CommandOrigin::PageByItself);
    click(QStringLiteral("web"));
    ASSERT_TRUE(waitUntil([&] { return context.record.count() == 2; }));
    EXPECT_EQ(context.record.lineAt(1).content, QStringLiteral("Served over HTTP"));
    EXPECT_EQ(context.record.lineAt(2).scheme, QStringLiteral("MeSH"));
    EXPECT_EQ(form->findChild<QComboBox*>(QStringLiteral("URL"))->currentText(), server.url(QStringLiteral("/served.htm")));
    ASSERT_TRUE(waitUntil([&] { return engine().LocationName() == QLatin1String("Served"); }));
}

// A list whose lines are refused, given as the program's argument on a first start: the help
// window, made for the occasion, shows why, as it does for the list opened later.
TEST(StartupEngineTest, RefusedLinesOfTheArgumentsListFillTheHelpWindowOnAFirstStart) {
    testing_support::FreshStore store;
    testing_support::TestContext context;
    QTemporaryDir folder;
    const QString list = testing_support::writeBytes(folder.filePath(QStringLiteral("lost.kqi")),
                                                     "F1|S1|E1|http://a.example/\r\nF1|S1|E2|http://b.example/\r\n");
    std::unique_ptr<QMainWindow> form(modMetaMain::Main(context, testing_support::modalRuns(), list));
    frmHelpBrowser* help = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* shown = qobject_cast<frmHelpBrowser*>(window); shown && shown->isVisible()) help = shown;
    ASSERT_NE(help, nullptr);
    auto& engine = static_cast<platform::webengine::WebEngineBrowser&>(*help->findChild<platform::WebBrowser*>(QStringLiteral("WebBrowser1")));
    const QTimer* replyTimer = help->findChild<QTimer*>(QStringLiteral("Timer1"));
    // Once the window's own first page is in and nothing is pending, the report is what it shows.
    ASSERT_TRUE(waitUntil([&] {
        return engine.LocationURL() == QLatin1String("about:blank") && !engine.Busy() && !replyTimer->isActive();
    }));
    QString shown;
    bool read = false;
    engine.page()->runJavaScript(QStringLiteral("document.body ? document.body.innerText : ''"),
                                 [&](const QVariant& text) { shown = text.toString(), read = true; });
    ASSERT_TRUE(waitUntil([&] { return read; }));
    EXPECT_EQ(shown.simplified(), QStringLiteral("These Errors were found loading the list: F1|S1|E1|http://a.example/ "
                                                 "Element not found F1|S1|E2|http://b.example/ Element not found"));
}

}  // namespace

// Commands from web pages with the real engine: the user's own click on a link or a submit
// button asks; a script's navigation or click(), a refresh and a frame are refused unasked.
#include "gui/frame/WindowFrame.h"
#include "support/core/TestContext.h"
#include "gui/app/modMetaMain.h"
#include "core/commands/modMTP.h"
#include "core/program/ProgramContext.h"
#include <QMainWindow>
#include "platform/widgets/StatusBar.h"
#include "platform/webengine/WebEngineBrowser.h"
#include "support/Common.h"
#include "support/LocalHttpServer.h"
#include "support/ScriptedUi.h"
#include "platform/WidgetInput.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

bool waitUntil(const std::function<bool()>& done, int timeoutMs = 30000);  // in the test main

namespace {

using namespace Qt::StringLiterals;

class PageCommandsEngineTest : public ::testing::Test {
protected:
    testing_support::FreshStore store;
    testing_support::LocalHttpServer server;
    testing_support::TestContext context;
    testing_support::ScriptedMsgBoxes boxes;
    QTemporaryDir folder;
    std::unique_ptr<QMainWindow> form;
    QString linkSave, formSave, scriptSave, refreshSave, frameSave;

    void SetUp() override {
        linkSave = u"mtp://save="_s + folder.filePath(u"link.htm"_s);
        formSave = u"mtp://save="_s + folder.filePath(u"form.htm"_s);
        scriptSave = u"mtp://save="_s + folder.filePath(u"script.htm"_s);
        refreshSave = u"mtp://save="_s + folder.filePath(u"refresh.htm"_s);
        frameSave = u"mtp://save="_s + folder.filePath(u"frame.htm"_s);
        const std::string page =
            ("<html><head><title>Commands</title></head><body style='margin:0'>"
             "<a id='save' href='" + linkSave + "' style='display:block;width:400px;height:100px'>Save</a>"
             "<form action='" + formSave + "'><input type='submit' id='send' value='Send' "
             "style='display:block;width:400px;height:100px;margin:0'></form></body></html>")
                .toStdString();
        server.server().Get("/page.htm", [page](const httplib::Request&, httplib::Response& response) {
            response.set_content(page, "text/html");
        });
        const std::string refresh = ("<html><head><title>Refresh</title><meta http-equiv='refresh' content='0;url=" +
                                     refreshSave + "'></head><body>r</body></html>")
                                        .toStdString();
        server.server().Get("/refresh.htm", [refresh](const httplib::Request&, httplib::Response& response) {
            response.set_content(refresh, "text/html");
        });
        const std::string frame = ("<html><body><iframe src='" + frameSave + "'></iframe></body></html>").toStdString();
        server.server().Get("/frame.htm", [frame](const httplib::Request&, httplib::Response& response) {
            response.set_content(frame, "text/html");
        });
        form = std::unique_ptr<QMainWindow>(modMetaMain::newMainWindow(context, testing_support::modalRuns()));
        form->resize(900, 700);
        form->show();
    }

    platform::webengine::WebEngineBrowser& engine() {
        return *static_cast<platform::webengine::WebEngineBrowser*>(
            form->findChild<platform::WebBrowser*>(u"WebBrowser1"_s));
    }
    QString activity() const {
        return form->findChild<platform::StatusBar*>(u"StatusBar1"_s)->panelText(WindowFrame::kActivityPanel);
    }
    void open(const QString& address) {
        QLineEdit* box = form->findChild<QComboBox*>(u"URL"_s)->lineEdit();
        box->setText(address);
        widget_input::key(box, Qt::Key_Return);
    }
    // The user clicks at a point of the page until the program has heard a click: one that
    // comes before the engine has laid the page out is lost, as it would be for a user.
    bool userClicksAt(const QPointF& at, const std::function<bool()>& heard) {
        QWidget* view = engine().widget();
        QWidget* target = view->focusProxy() ? view->focusProxy() : view;
        for (int tries = 0; tries < 20 && !heard(); ++tries) {
            for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
                QMouseEvent event(type, at, target->mapToGlobal(at), Qt::LeftButton,
                                  type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
                QApplication::sendEvent(target, &event);
            }
            waitUntil(heard, 1000);
        }
        return heard();
    }
    bool refused(const QString& command) {
        return waitUntil([&] { return activity() == u"A command the page started by itself was not run: "_s + command; });
    }
};

TEST_F(PageCommandsEngineTest, TheUsersClickAsksAndWhatThePageDoesByItselfIsRefused) {
    open(server.url(u"/page.htm"_s));
    ASSERT_TRUE(waitUntil([&] { return engine().Document().links.size() == 1 && !engine().Busy(); }));

    // The page's script goes for the commands itself: no question, a line in the status bar.
    engine().page()->runJavaScript(u"location.href = '%1'"_s.arg(scriptSave));
    EXPECT_TRUE(refused(scriptSave)) << activity().toStdString();
    engine().page()->runJavaScript(u"document.getElementById('save').click()"_s);
    EXPECT_TRUE(refused(linkSave)) << activity().toStdString();
    // A form's submit button clicked by a script sends the form as a click of the user's would.
    engine().page()->runJavaScript(u"document.getElementById('send').click()"_s);
    EXPECT_TRUE(refused(formSave + u"?"_s)) << activity().toStdString();
    EXPECT_TRUE(boxes.shown().isEmpty());

    // The user clicks the link, then the submit button: each asks, No keeps the files unwritten.
    boxes.expect(modMTP::kPageCommandQuestion + linkSave, platform::kAnswerNo)
        .expect(modMTP::kPageCommandQuestion + formSave + u"?"_s, platform::kAnswerNo);
    EXPECT_TRUE(userClicksAt(QPointF(50, 50), [&] { return boxes.shown().size() == 1; }));
    EXPECT_TRUE(userClicksAt(QPointF(50, 150), [&] { return boxes.shown().size() == 2; }));

    // A page that refreshes to a command, and one whose frame loads one.
    open(server.url(u"/refresh.htm"_s));
    EXPECT_TRUE(refused(refreshSave)) << activity().toStdString();
    open(server.url(u"/frame.htm"_s));
    EXPECT_TRUE(waitUntil([&] { return activity() == u"A command of a frame in the page was not run: "_s + frameSave; }))
        << activity().toStdString();
    EXPECT_EQ(boxes.shown().size(), 2);
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
}

}  // namespace

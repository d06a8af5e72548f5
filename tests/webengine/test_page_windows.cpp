// Windows a page asks for: only the user's own click starts another copy of the program.
#include "gui/frame/WindowFrame.h"
#include "support/core/TestContext.h"
#include "gui/app/modMetaMain.h"
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
#include <QLineEdit>
#include <QMouseEvent>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

bool waitUntil(const std::function<bool()>& done, int timeoutMs = 30000);  // in the test main

namespace {

class PageWindowsTest : public ::testing::Test {
protected:
    testing_support::FreshStore store;
    testing_support::LocalHttpServer server;
    testing_support::StartedProcesses started;
    testing_support::TestContext context;
    std::unique_ptr<QMainWindow> form;

    void SetUp() override {
        // Opens itself again as soon as it loads, and has a link that opens a new window.
        server.server().Get("/again.htm", [](const httplib::Request&, httplib::Response& response) {
            response.set_content("<html><head><title>Again</title></head><body style='margin:0'>"
                                 "<a id='other' href='/other.htm' target='_blank' style='display:block;"
                                 "width:400px;height:300px'>Other</a>"
                                 "<script>window.open(location.href)</script></body></html>",
                                 "text/html");
        });
        form = std::unique_ptr<QMainWindow>(modMetaMain::newMainWindow(context, testing_support::modalRuns()));
        form->resize(900, 700);
        form->show();
    }

    platform::webengine::WebEngineBrowser& engine() {
        return *static_cast<platform::webengine::WebEngineBrowser*>(form->findChild<platform::WebBrowser*>(QStringLiteral("WebBrowser1")));
    }
};

TEST_F(PageWindowsTest, APageOpeningWindowsByItselfStartsNothingButAClickDoes) {
    // What the status bar says right after the window handled each request.
    QStringList said;
    QObject::connect(form->findChild<platform::WebBrowser*>(QStringLiteral("WebBrowser1")), &platform::WebBrowser::newWindow, form.get(), [&](platform::NewWindowEvent&) {
        said << form->findChild<platform::StatusBar*>(QStringLiteral("StatusBar1"))->panelText(WindowFrame::kActivityPanel);
    });
    form->findChild<QComboBox*>(QStringLiteral("URL"))->setEditText(server.url(QStringLiteral("/again.htm")));
    widget_input::key(form->findChild<QComboBox*>(QStringLiteral("URL"))->lineEdit(), Qt::Key_Return);
    ASSERT_TRUE(waitUntil([&] { return !said.isEmpty(); }));
    EXPECT_TRUE(said.first().startsWith(QLatin1String("A new window the page asked for by itself was not opened")));
    EXPECT_TRUE(started.isEmpty());

    // The user clicks the link: that window opens, in a second copy of the program.
    ASSERT_TRUE(waitUntil([&] { return engine().LocationName() == QLatin1String("Again") && !engine().Busy(); }));
    QWidget* view = form->findChild<platform::WebBrowser*>(QStringLiteral("WebBrowser1"))->widget();
    QWidget* target = view->focusProxy() ? view->focusProxy() : view;
    const QPointF at(50, 50);
    // A click that comes before the engine has laid the page out is lost, as it would be
    // for a user: click again until one is heard.
    for (int tries = 0; tries < 20 && started.isEmpty(); ++tries) {
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, at, target->mapToGlobal(at), Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(target, &event);
        }
        waitUntil([&] { return !started.isEmpty(); }, 1000);
    }
    ASSERT_FALSE(started.isEmpty());
    for (const QStringList& opened : started) EXPECT_EQ(opened.mid(1), QStringList{server.url(QStringLiteral("/other.htm"))});
}

}  // namespace

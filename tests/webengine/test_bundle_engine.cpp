// The program's own pages in the real engine, without a network: they keep their own
// addresses everywhere the user sees one or the program keeps one.
#include <QMainWindow>
#include "gui/app/modMetaMain.h"
#include "support/core/TestContext.h"
#include "platform/Folders.h"
#include "gui/app/NavigationPane.h"
#include "core/domains/SchemeHosts.h"
#include "core/catalogues/ListTree.h"
#include "platform/webengine/WebEngineBrowser.h"
#include "support/Common.h"
#include "support/ScriptedUi.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWebEnginePage>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

bool waitUntil(const std::function<bool()>& done, int timeoutMs = 30000);  // in the test main

namespace {

using namespace Qt::StringLiterals;

TEST(BundleEngineTest, TheHomePageAndItsLinksKeepTheirAddressInTheBoxTheHistoryAndTheTree) {
    testing_support::FreshStore store;
    testing_support::TestContext context;
    context.schemeServer = SchemeHosts::builtInSchemeServer;
    auto form = std::unique_ptr<QMainWindow>(modMetaMain::newMainWindow(context, testing_support::modalRuns()));
    form->resize(900, 700);
    form->show();
    auto& engine = *static_cast<platform::webengine::WebEngineBrowser*>(form->findChild<platform::WebBrowser*>(u"WebBrowser1"_s));
    const QString home = u"http://schemes.quorvantil.example"_s;
    form->findChild<QComboBox*>(u"URL"_s)->setFocus();
    form->findChild<QComboBox*>(u"URL"_s)->lineEdit()->setText(home);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, u"\r"_s);
    QApplication::sendEvent(form->findChild<QComboBox*>(u"URL"_s)->lineEdit(), &enter);
    ASSERT_TRUE(waitUntil([&] { return engine.LocationName() == QLatin1String("Quorvantile") && !engine.Busy(); }));

    // A page link, then a list link, as the user clicks them.
    const auto click = [&](const char* href) {
        engine.page()->runJavaScript(u"document.querySelector('a[href=\"%1\"]').click()"_s.arg(QLatin1String(href)));
    };
    click("/tutorial.html");
    ASSERT_TRUE(waitUntil([&] { return engine.LocationName().startsWith(u"Tutorial"_s) && !engine.Busy(); }));
    EXPECT_EQ(engine.LocationURL(), u"http://schemes.quorvantil.example/tutorial.html"_s);
    EXPECT_EQ(form->findChild<QComboBox*>(u"URL"_s)->currentText(), engine.LocationURL());
    click("/");
    ASSERT_TRUE(waitUntil([&] { return engine.LocationName() == QLatin1String("Quorvantile") && !engine.Busy(); }));
    click("/schemes/IMT.kqs");
    ASSERT_TRUE(waitUntil([&] { return context.listTrees[0].count() > 100; }));

    form->close();
    const QByteArray history = testing_support::readBytes(platform::programDataFolder() + u"/cache/URL.log"_s);
    EXPECT_TRUE(history.contains("http://schemes.quorvantil.example/schemes/IMT.kqs\r\n")) << history.toStdString();
    EXPECT_TRUE(history.contains("http://schemes.quorvantil.example\r\n")) << history.toStdString();
    for (const QByteArray& kept : {history, form->findChild<QComboBox*>(u"URL"_s)->currentText().toUtf8(), engine.LocationURL().toUtf8()})
        EXPECT_FALSE(kept.contains("127.0.0.1")) << kept.toStdString();
}

}  // namespace

// Long runs of commands: the record stays right and the window is painted again once they stop.
#include "CommandsTestSupport.h"

#include "platform/StatusBar.h"

#include <QApplication>
#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QElapsedTimer>
#include <QGroupBox>

using namespace Qt::StringLiterals;

namespace {

class CommandRunTest : public commands_test::CommandsTest {};

TEST_F(CommandRunTest, ManyCommandsLeaveOneCurrentLineAndThePanesPaintedAgain) {
    w->show();
    for (int i = 0; i < 300; ++i) w->addRecordLine({u"DC.Element%1"_s.arg(i), u"c=AU"_s, {}, u"x500"_s});
    for (int k = 0; k < 600; ++k)
        dispatch(u"mtp://field=DC.Element%1&content=AU|Agency %2|&scheme=x500.fld/"_s.arg(k % 300).arg(k));
    ASSERT_EQ(w->MetaPanel->Count(), 300);
    EXPECT_EQ(w->MetaPanel->Item(300)->SubItems(1), u"o= Agency 599 ; c=AU "_s);
    // The last line changed is the one current line, shown bold.
    EXPECT_EQ(w->MetaPanel->BoldItems(), QList<platform::ListItem*>({w->MetaPanel->Item(300)}));
    EXPECT_EQ(selectedPosition(), 300);
    // Painting held back during the run comes back once the commands stop.
    QElapsedTimer waited;
    waited.start();
    while (!w->MetaPanel->updatesEnabled() && waited.elapsed() < 2000) QCoreApplication::processEvents();
    EXPECT_TRUE(w->MetaPanel->updatesEnabled());
    EXPECT_TRUE(w->StatusBar1->updatesEnabled());
}

// A page's link with line breaks in its address: the question shows the whole command as
// it will run, in a box that fits the screen with its buttons in sight.
TEST_F(CommandRunTest, TheQuestionForAPageCommandShowsAllOfItAndFitsTheScreen) {
    QString href = u"  mtp://field=DC.Subject&content=Cats"_s;
    for (int i = 0; i < 80; ++i) href += u"\n"_s;
    href += u"\tmtp://save="_s + home() + u"/cats.htm\r\n "_s;
    const QString cleaned = u"mtp://field=DC.Subject&content=Catsmtp://save="_s + home() + u"/cats.htm"_s;
    platform::setMsgBoxResponder({});  // the real box
    bool seen = false;
    QTimer::singleShot(0, [&] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        auto* text = box->findChild<QPlainTextEdit*>(u"MsgBoxText"_s);
        ASSERT_NE(text, nullptr);
        seen = text->toPlainText() == modMTP::kPageCommandQuestion + cleaned;
        const QRect screen = box->screen()->availableGeometry();
        EXPECT_LE(box->frameGeometry().height(), screen.height());
        QPushButton* no = nullptr;
        for (QPushButton* button : box->findChildren<QPushButton*>()) {
            EXPECT_TRUE(box->rect().contains(button->geometry().translated(button->parentWidget()->mapTo(box, QPoint()))));
            if (button->text().remove(QLatin1Char('&')) == u"No"_s) no = button;
        }
        ASSERT_NE(no, nullptr);
        EXPECT_TRUE(no->isDefault());
        no->click();
    });
    run(href, modMTP::CommandOrigin::Page);
    testing_support::failEveryMsgBox();
    EXPECT_TRUE(seen);
    EXPECT_FALSE(QFile::exists(home() + u"/cats.htm"_s));
}

// A record saved as a template batch and run again comes back as it was, even when its
// contents hold the words the field command looks for.
TEST_F(CommandRunTest, ATemplateOfTheRecordGivesTheSameRecordBack) {
    const MetadataRecord saved = {
        {u"DC.Description"_s, u"uses the scheme=LCSH list"_s, {}, {}},
        {u"DC.Title"_s, u"Cats&content=Dogs &Lang=fr & more"_s, u"en"_s, {}},
        {u"DC.Subject"_s, u"Tom & Jerry&field=x"_s, {}, u"LCSH"_s},
    };
    for (const MetadataLine& line : saved) w->addRecordLine(line);
    const QString path = home() + u"/record.kqb"_s;
    dispatch(u"mtp://save="_s + path);
    w->MetaPanel->Clear();
    dispatch(u"mtp://open="_s + path);
    EXPECT_EQ(record(), saved);
}

}  // namespace

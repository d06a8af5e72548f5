// Long runs of commands: the record stays right and the window is painted again once they stop.
#include "CommandsTestSupport.h"
#include "gui/record/RecordModel.h"

#include "platform/widgets/StatusBar.h"
#include "platform/widgets/WebBrowser.h"

#include <QApplication>
#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

class CommandRunTest : public commands_test::CommandsTest {};

TEST_F(CommandRunTest, ManyCommandsLeaveOneCurrentLineAndThePanesPaintedAgain) {
    w->show();
    for (int i = 0; i < 300; ++i) w.context.record.append({u"DC.Element%1"_s.arg(i), u"c=AU"_s, {}, u"x500"_s});
    for (int k = 0; k < 600; ++k)
        dispatch(u"mtp://field=DC.Element%1&content=AU|Agency %2|&scheme=x500.fld/"_s.arg(k % 300).arg(k));
    ASSERT_EQ(w.context.record.count(), 300);
    EXPECT_EQ(w.context.record.lineAt(300).content, u"o= Agency 599 ; c=AU "_s);
    // The last line changed is the one current line, shown bold.
    EXPECT_EQ(w.context.record.boldLines(), QList<Record::LineId>({w.context.record.idAt(300)}));
    EXPECT_EQ(selectedPosition(), 300);
    // Painting held back during the run comes back once the commands stop.
    QElapsedTimer waited;
    waited.start();
    while (!w.find<platform::StatusBar>(u"StatusBar1"_s)->updatesEnabled() && waited.elapsed() < 2000) QCoreApplication::processEvents();
    EXPECT_TRUE(w.find<platform::StatusBar>(u"StatusBar1"_s)->updatesEnabled());
    EXPECT_FALSE(w.find<MetaPanelView>(u"MetaPanel"_s)->recordModel().held());
}

// A page's link with line breaks in its address, of any kind: the question shows the whole
// command as it will run, in a box that fits the screen with its buttons in sight, read left
// to right.
TEST_F(CommandRunTest, TheQuestionKeepsNoLineBreakAndFitsTheScreenWhateverTheText) {
    QString href = u"  mtp://field=DC.Subject&content=Cats"_s;
    for (int i = 0; i < 40; ++i) href += u"\n\u2028\u2029"_s;
    href += u"\u0085\t&save="_s + home() + u"/cats.htm\r\n "_s;
    const QString cleaned = u"mtp://field=DC.Subject&content=Cats&save="_s + home() + u"/cats.htm"_s;
    std::optional<testing_support::RealMsgBoxes> real(std::in_place);
    QStringList seen;
    const auto answerNo = [&] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        QWidget* text = box->findChild<QWidget*>(u"MsgBoxText"_s);
        ASSERT_NE(text, nullptr);
        auto* label = qobject_cast<QLabel*>(text);
        auto* edit = qobject_cast<QPlainTextEdit*>(text);
        seen << (label ? label->text() : edit->toPlainText());
        EXPECT_EQ(box->layoutDirection(), Qt::LeftToRight);
        const QRect screen = box->screen()->availableGeometry();
        EXPECT_LE(box->frameGeometry().height(), screen.height());
        EXPECT_LE(box->frameGeometry().width(), screen.width());
        for (QPushButton* button : box->findChildren<QPushButton*>()) {
            EXPECT_TRUE(box->rect().contains(button->geometry().translated(button->parentWidget()->mapTo(box, QPoint()))));
            if (button->text().remove(QLatin1Char('&')) == u"No"_s) {
                EXPECT_TRUE(button->isDefault());
                button->click();
            }
        }
    };
    QTimer::singleShot(0, answerNo);
    run(href, modMTP::CommandOrigin::Page);
    // A command of a hundred thousand characters is asked about in a box that fits as well.
    const QString huge = u"mtp://save="_s + home() + u"/"_s + QString(100000, u'x') + u".htm"_s;
    QTimer::singleShot(0, answerNo);
    run(huge, modMTP::CommandOrigin::Page);
    real.reset();
    EXPECT_EQ(seen, QStringList({modMTP::kPageCommandQuestion + cleaned, modMTP::kPageCommandQuestion + huge}));
    EXPECT_FALSE(QFile::exists(home() + u"/cats.htm"_s));
}

// Characters that turn text around are refused; other invisible ones are shown and run as
// shown, and logged so; field commands keep their joiners.
TEST_F(CommandRunTest, InvisibleCharactersInAPageCommandAreShownOrRefused) {
    dispatch(u"mtp://startlogging.kqb"_s);
    // Shown as it runs, this would read ".../reportmth.xls".
    const QString reversed = u"mtp://save="_s + home() + u"/report\u202Eslx.htm"_s;
    boxes.expect(u"It was not run: mtp://save="_s + home() + u"/report<U+202E>slx.htm"_s, platform::kAnswerOk);
    run(reversed, modMTP::CommandOrigin::Page);
    EXPECT_TRUE(QDir(home()).entryList({u"report*"_s}).isEmpty());
    // Hovering the link shows it as the question does.
    Q_EMIT w.find<platform::WebBrowser>(u"WebBrowser1"_s)->statusTextChange(reversed);
    EXPECT_EQ(w.find<platform::StatusBar>(u"StatusBar1"_s)->panelText(3), u"mtp://save="_s + home() + u"/report<U+202E>slx.htm"_s);

    const QString asked = u"mtp://save="_s + home() + u"/a<U+200B>b<U+0001>.htm"_s;
    boxes.expect(modMTP::kPageCommandQuestion + asked, platform::kAnswerYes)
        .expect(u"Do you want to add basic HTML to the Metadata?"_s, platform::kAnswerYes);
    run(u"mtp://save="_s + home() + u"/a\u200Bb\u0001.htm"_s, modMTP::CommandOrigin::Page);
    EXPECT_EQ(boxes.shown().at(1).text, modMTP::kPageCommandQuestion + asked);
    EXPECT_TRUE(QFile::exists(home() + u"/a<U+200B>b<U+0001>.htm"_s));
    EXPECT_TRUE(logBytes().contains(asked.toUtf8())) << logBytes().toStdString();

    run(u"mtp://field=DC.Subject&content=Cats\u200DDogs\u200C.fld"_s, modMTP::CommandOrigin::Page);
    EXPECT_EQ(record(), MetadataRecord({commands_test::lineOf("DC.Subject", "Cats\u200DDogs\u200C")}));
    // A link of nothing but separators runs nothing.
    boxes.expect(u"transaction not known"_s, platform::kAnswerOk);
    run(QString(50, u'\u2028'), modMTP::CommandOrigin::Page);
}

// A record saved as a template batch and run again comes back as it was, even when its
// contents hold the words the field command looks for.
TEST_F(CommandRunTest, ATemplateOfTheRecordGivesTheSameRecordBack) {
    const MetadataRecord saved = {
        {u"DC.Description"_s, u"uses the scheme=LCSH list"_s, {}, {}},
        {u"DC.Title"_s, u"Cats&content=Dogs &Lang=fr & more"_s, u"en"_s, {}},
        {u"DC.Subject"_s, u"Tom & Jerry&field=x"_s, {}, u"LCSH"_s},
    };
    for (const MetadataLine& line : saved) w.context.record.append(line);
    const QString path = home() + u"/record.kqb"_s;
    dispatch(u"mtp://save="_s + path);
    w.context.record.clear();
    dispatch(u"mtp://open="_s + path);
    EXPECT_EQ(record(), saved);
}

}  // namespace

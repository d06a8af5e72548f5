// Long runs of commands: the record stays right and the window is painted again once they stop.
#include "CommandsTestSupport.h"

#include "platform/StatusBar.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGroupBox>

using namespace Qt::StringLiterals;

namespace {

class CommandRunTest : public commands_test::CommandsTest {};

TEST_F(CommandRunTest, ManyCommandsLeaveOneCurrentLineAndThePanesPaintedAgain) {
    w->show();
    for (int i = 0; i < 300; ++i) addLine(u"DC.Element%1"_s.arg(i), u"c=AU"_s, {}, u"x500"_s);
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

}  // namespace

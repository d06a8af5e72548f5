// Lists the user made are never written over or replaced without their word.
#include "ListFilesTest.h"
#include "gui/app/FileMenu.h"

#include "platform/WidgetInput.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QByteArray kCatalogue = "Art|\r\nArt|Tate|http://tate.example/\r\nZoo|http://zoo.example/\r\n";

class ListSafetyTest : public ListFilesTest {
protected:
    testing_support::ScriptedModals modals;
    QString catalogue;

    void SetUp() override {
        ListFilesTest::SetUp();
        w.context.domain.defaultSchema = u"AGLS1.3"_s;
        catalogue = openCatalogue(u"Sites.kqi"_s);
    }
    QString openCatalogue(const QString& name) {
        const QString file = writeBytes(path(name), kCatalogue);
        w.context.document.setListType(u"indexes"_s);
        run(u"mtp://open="_s + file);
        return file;
    }
    void saveAs(int item) { w.find<QAction>(u"mnuFileSaveAs_%1"_s.arg(item))->trigger(); }
    // A button of a dialog clicked with the mouse.
    static void click(const QDialog& dialog, const QString& name) {
        QPushButton* button = child<QPushButton>(dialog, name);
        widget_input::click(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
    }
    // The Harvest Control List dialog, once File > Save As has shown it.
    QDialog& harvestDialog() const { return *w.find<QDialog>(u"frmHCL"_s); }
    // The channel dialog's next showing: what it proposes, then the header typed and OK.
    void fillChannelDialog(QString* proposed, const QString& file = QString()) {
        modals.then([proposed, file](QDialog& dialog) {
            *proposed = child<QLineEdit>(dialog, u"txtFilePath"_s)->text();
            if (!file.isNull()) typeOver(dialog, u"txtFilePath"_s, file);
            typeOver(dialog, u"txtTitle"_s, u"News"_s);
            typeOver(dialog, u"txtSiteURL"_s, u"http://site.example/"_s);
            click(dialog, u"OKButton"_s);
            if (dialog.isVisible()) click(dialog, u"CancelButton"_s);
        });
    }
    bool listModified() const { return w.context.document.modified(DocumentState::Document::List); }
};

// File > Save As > RSS Channel and Harvest Control List, from a catalogue: each proposes a
// file of its own beside it, the catalogue stays as it was, and a file that is not the
// list's own (another list's, or the other dialog's just written) is replaced only after a Yes.
TEST_F(ListSafetyTest, TheListDialogsProposeFilesOfTheirOwnAndAskBeforeReplacingAnother) {
    const QString harvest = writeBytes(path(u"Sites.xml"_s), "<other/>");
    const QString channel = path(u"Sites.rss"_s);
    const auto replace = [](const QString& file) { return file + u" already exists.\r\nDo you want to replace it?"_s; };
    saveAs(FileMenu::kSaveAsHarvestList);
    ASSERT_TRUE(harvestDialog().isVisible());
    EXPECT_EQ(child<QLineEdit>(harvestDialog(), u"txtFileName"_s)->text(), harvest);
    boxes.expect(replace(harvest), platform::kAnswerYes);
    click(harvestDialog(), u"cmdOK"_s);
    EXPECT_FALSE(harvestDialog().isVisible());
    EXPECT_TRUE(readBytes(harvest).contains("<link>http://tate.example/</link>"));
    EXPECT_EQ(boxes.shown().last().style & platform::kSecondButtonDefault, platform::kSecondButtonDefault);

    // The channel's own proposal, not the Harvest Control List just written.
    QString proposed;
    fillChannelDialog(&proposed);
    saveAs(FileMenu::kSaveAsRssChannel);
    EXPECT_EQ(proposed, channel);
    EXPECT_TRUE(readBytes(channel).contains("<title>News</title>"));
    EXPECT_TRUE(readBytes(harvest).contains("<hcl "));
    // Either dialog asks before going over the other's file; No keeps it, and the dialog
    // stays for another name.
    boxes.expect(replace(harvest), platform::kAnswerNo);
    fillChannelDialog(&proposed, harvest);
    saveAs(FileMenu::kSaveAsRssChannel);
    EXPECT_TRUE(readBytes(harvest).contains("<hcl "));
    saveAs(FileMenu::kSaveAsHarvestList);
    typeOver(harvestDialog(), u"txtFileName"_s, channel);
    boxes.expect(replace(channel), platform::kAnswerNo);
    click(harvestDialog(), u"cmdOK"_s);
    EXPECT_TRUE(harvestDialog().isVisible());
    click(harvestDialog(), u"cmdCancel"_s);
    EXPECT_TRUE(readBytes(channel).contains("<title>News</title>"));
    EXPECT_EQ(readBytes(catalogue), kCatalogue);
    // A channel file that cannot be written says so under its own title.
    ASSERT_TRUE(QDir().mkpath(path(u"blocked.xml/inside"_s)));
    boxes.expect(u"Check that the file or the file system are not read only"_s, platform::kAnswerOk);
    fillChannelDialog(&proposed, path(u"blocked.xml"_s));
    saveAs(FileMenu::kSaveAsRssChannel);
    EXPECT_EQ(boxes.shown().last().title, u"Error saving RSS channel"_s);
}

// A catalogue stays a catalogue whatever its folders are called: "rss" or "Harvest Control
// List" in its path makes it neither a channel nor a Harvest Control List when it is
// saved, asked about or exported.
TEST_F(ListSafetyTest, ACataloguesKindComesFromHowItWasReadNotFromItsPath) {
    for (const QString& folder : {u"MoRSS"_s, u"Harvest Control List"_s}) {
        ASSERT_TRUE(QDir().mkpath(path(folder)));
        const QString file = openCatalogue(folder + u"/cat.kqi"_s);
        w.editListTagAgain();
        ASSERT_TRUE(listModified());
        // Asked as a catalogue; File > Save writes the catalogue, no list dialog comes up.
        boxes.expect(u"The catalog has been modified. Save first before starting a new one?"_s, platform::kAnswerCancel);
        w.find<QAction>(u"mnuFileNew_%1"_s.arg(FileMenu::kNewCatalogue))->trigger();
        writeBytes(file, "stale\r\n");
        w.find<QAction>(u"mnuFileSave"_s)->trigger();
        EXPECT_EQ(readBytes(file), kCatalogue) << folder;
        EXPECT_FALSE(listModified()) << folder;
        const QWidget* harvest = w->findChild<QWidget*>(u"frmHCL"_s);
        EXPECT_FALSE(harvest && harvest->isVisible()) << folder;
        // Its channel is proposed beside it, so OK can be pressed.
        QString proposed;
        fillChannelDialog(&proposed);
        saveAs(FileMenu::kSaveAsRssChannel);
        EXPECT_EQ(proposed, path(folder + u"/cat.rss"_s));
        EXPECT_TRUE(readBytes(proposed).contains("<title>News</title>")) << folder;
    }
}

// A channel read earlier is never offered for another list; a catalogue named twice over
// as a list file gets a plain name beside it.
TEST_F(ListSafetyTest, AChannelReadForAnotherListIsNotProposed) {
    const QString news = writeBytes(path(u"news.xml"_s),
                                    "<rss version=\"2.0\"><channel><title>T</title><link>L</link><description>D"
                                    "</description><item><title>A</title><link>http://a.example/</link></item>"
                                    "</channel></rss>");
    run(u"mtp://loadRSS="_s + news + u".kqi"_s);
    QString proposed;
    fillChannelDialog(&proposed);
    saveAs(FileMenu::kSaveAsRssChannel);
    EXPECT_EQ(proposed, news);  // the channel shown keeps its file

    const QString odd = openCatalogue(u"x.kqi.kqi"_s);
    fillChannelDialog(&proposed);
    saveAs(FileMenu::kSaveAsRssChannel);
    EXPECT_EQ(proposed, path(u"x.rss"_s));
    EXPECT_EQ(readBytes(odd), kCatalogue);
}

// Loading a list over unsaved changes asks first, from a command, a batch or a page; Cancel
// keeps the list shown and stops the batch.
TEST_F(ListSafetyTest, AListLoadOverUnsavedChangesAsksAndCancelKeepsTheList) {
    const QString news = writeBytes(path(u"news.xml"_s),
                                    "<rss version=\"2.0\"><channel><title>T</title><link>L</link><description>D"
                                    "</description><item><title>A</title><link>http://a.example/</link></item>"
                                    "</channel></rss>");
    const QString hcl = writeBytes(path(u"list.hcl"_s),
                                   "<?xml version=\"1.0\"?><hcl><site><item><link>http://h.example/</link></item>"
                                   "</site></hcl>");
    const QStringList before = shown();
    w.context.document.markModified(DocumentState::Document::List);
    const QString question = u"The catalog has been modified. Save first before opening a new one?"_s;
    for (int i = 0; i < 4; ++i) boxes.expect(question, platform::kAnswerCancel);
    run(u"mtp://loadRSS="_s + news + u".kqi"_s);
    run(u"mtp://loadHCL="_s + hcl + u".kqi"_s);
    run(u"mtp://open="_s + path(u"Sites.kqi"_s));
    // A page that turns out to be a channel is a list load too.
    const QString page = writeBytes(path(u"feed.htm"_s), readBytes(news));
    w.enter(page);
    EXPECT_EQ(shown(), before);
    EXPECT_TRUE(listModified());
    // A missing list asks nothing and changes nothing.
    boxes.expect(u"Couldn't load "_s, platform::kAnswerOk);
    run(u"mtp://loadHCL="_s + path(u"missing.xml"_s) + u".kqi"_s);
    EXPECT_EQ(shown(), before);
    EXPECT_TRUE(listModified());

    // In a batch, Cancel stops it: its next line never runs.
    const QString batch = writeBytes(path(u"load.kqb"_s), ("mtp://loadHCL=" + hcl + ".kqi\r\n"
                                                           "mtp://save=" + path(u"after.kqi"_s) + "\r\n").toUtf8());
    boxes.expect(question, platform::kAnswerCancel)
        .expect(u"This list was not opened: file://"_s + hcl + u"\r\n\r\nThe batch stops here"_s, platform::kAnswerOk);
    run(u"mtp://open="_s + batch);
    EXPECT_EQ(boxes.shown().last().title, u"Batch stopped"_s);
    EXPECT_FALSE(QFile::exists(path(u"after.kqi"_s)));
    EXPECT_EQ(shown(), before);

    // Yes saves the catalogue to its own file first, then the channel comes in.
    tree().setText(tree().item(2), u"Modern Art"_s);
    boxes.expect(question, platform::kAnswerYes);
    run(u"mtp://loadRSS="_s + news + u".kqi"_s);
    EXPECT_EQ(readBytes(catalogue), QByteArray(kCatalogue).replace("Art|", "Modern Art|"));
    EXPECT_EQ(shown().size(), 2);
}

// A Harvest Control List shown is saved through its dialog, modally, before another list
// comes in; Cancel in the dialog stops the load.
TEST_F(ListSafetyTest, AHarvestControlListShownIsSavedThroughItsDialogBeforeTheLoadGoesOn) {
    const QString hcl = writeBytes(path(u"list.hcl"_s),
                                   "<?xml version=\"1.0\"?><hcl><site><item><link>http://h.example/</link></item>"
                                   "</site></hcl>");
    run(u"mtp://loadHCL="_s + hcl + u".kqi"_s);
    ASSERT_EQ(shown(), QStringList({u"HCL [Harvest Control List]"_s, u"http://h.example/ [http://h.example/] 2/2 http://h.example/\\"_s}));
    const QByteArray original = readBytes(hcl);
    tree().setText(tree().item(2), u"Home"_s);
    w.context.document.markModified(DocumentState::Document::List);
    const QString question = u"you should save the Harvest Control List. Save first before opening a new one?"_s;

    boxes.expect(question, platform::kAnswerYes);
    modals.then([](QDialog& dialog) { click(dialog, u"cmdCancel"_s); });
    run(u"mtp://open="_s + path(u"Sites.kqi"_s));
    EXPECT_EQ(shown().at(1), u"Home [http://h.example/] 2/2 http://h.example/\\"_s);
    EXPECT_EQ(readBytes(hcl), original);

    boxes.expect(question, platform::kAnswerYes);
    modals.then([this, hcl](QDialog& dialog) {
        EXPECT_EQ(child<QLineEdit>(dialog, u"txtFileName"_s)->text(), hcl);
        click(dialog, u"cmdOK"_s);
    });
    run(u"mtp://open="_s + path(u"Sites.kqi"_s));
    EXPECT_TRUE(readBytes(hcl).contains("<title>Home</title>"));
    EXPECT_EQ(shown().size(), 4);  // the catalogue, read after the list was written
}

}  // namespace

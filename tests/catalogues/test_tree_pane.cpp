#include "core/commands/modMTP.h"
#include "gui/catalogues/TreePane.h"
#include "core/commands/modMacros.h"
#include "core/domains/modSchemas.h"
#include "platform/widgets/StatusBar.h"
#include "gui/catalogues/ListTreeModel.h"
#include "gui/catalogues/ListTreeView.h"
#include "platform/WidgetInput.h"
#include "support/CommandRecorder.h"
#include "support/OfflineBrowser.h"
#include "support/TestWindow.h"

#include <QAction>
#include <QComboBox>
#include <QDate>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QUrl>

using namespace Qt::StringLiterals;
using NodeId = ListTree::NodeId;
using Place = ListTree::Place;
using testing_support::child;
using testing_support::readBytes;
using testing_support::typeOver;

namespace {

// A catalogue as the program writes it; its first line is the template of command names.
const QByteArray kCatalogue = "Animals|mtp://field=DC.Subject&content=Animals&scheme=LCSH.fld\r\n"
                              "Art|\r\nArt|Modern|\r\nArt|Modern|Tate|file://%1/page.htm\r\n"
                              "Physics|mtp://field=DC.Subject&content=Physics&scheme=LCSH.fld\r\n"
                              "Remodelling|http://remodel.example/\r\nZoo|\r\n";

class TreePaneTest : public ::testing::Test {
protected:
    testing_support::TestWindow w;
    testing_support::ScriptedMsgBoxes boxes;
    testing_support::ScriptedModals modals;
    QTemporaryDir dir;
    std::optional<testing_support::CommandRecorder> recorder;
    ListTreeView* view = nullptr;
    ListTree* tree = nullptr;
    QString file;

    void SetUp() override {
        w->resize(1000, 760);
        widget_input::showAndWait(w.form.get());
        testing_support::writeBytes(dir.filePath(u"page.htm"_s),
                                    "<html><head><title>Local page</title><meta name=\"DC.Title\" content=\"Local\">"
                                    "</head><body><a href=\"http://about.example/\">About us</a></body></html>");
        file = testing_support::writeBytes(dir.filePath(u"Sites.kqi"_s), expected(kCatalogue));
        openList(u"indexes"_s, u"Sites"_s);
        ASSERT_EQ(tree->count(), 8);
        recorder.emplace(w.context);
    }
    // The list file opened as from the command line.
    void openList(const QString& type, const QString& name) {
        w.context.document.setListType(type);
        w.context.rootName = name;
        QString open = u"mtp://open="_s + file;
        modMTP::mtpTransaction(w.context, open);
        tree = &w.activeTree();
        view = w.activeTreeView();
    }
    QByteArray expected(const QByteArray& lines) const { return QString::fromUtf8(lines).arg(dir.path()).toUtf8(); }
    NodeId node(const QString& text) const {
        for (int i = 1; i <= tree->count(); ++i)
            if (tree->text(tree->item(i)) == text) return tree->item(i);
        return 0;
    }
    QPoint at(NodeId n) const {
        tree->ensureVisible(n);
        QApplication::processEvents();
        return rectOf(n).center();
    }
    // Where the node's row stands in the tree's viewport, as it is scrolled now.
    QRect rectOf(NodeId n) const { return view->visualRect(view->treeModel().indexOf(n)); }
    void click(NodeId n, Qt::MouseButton button = Qt::LeftButton) {
        widget_input::click(view->viewport(), button, {}, at(n));
    }
    // The left button goes down on a node and the mouse moves a little, as a drag begins.
    void press(NodeId n) {
        const QPoint p = at(n);
        widget_input::mouse(view->viewport(), QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, {}, p);
        widget_input::mouse(view->viewport(), QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, {}, p + QPoint(2, 0));
    }
    // The menu a right click opened: the enabled entries by number.
    QList<int> enabledEntries() {
        QList<int> out;
        for (int i = 1; i <= 15; ++i)
            if (w.find<QAction>(u"mnuMaintNodes_%1"_s.arg(i))->isEnabled() && !w.find<QAction>(u"mnuMaintNodes_%1"_s.arg(i))->isSeparator()) out << i;
        w.find<QMenu>(u"mnuMaintNodes1"_s)->hide();
        return out;
    }
    void menu(NodeId n, int entry) {
        click(n, Qt::RightButton);
        ASSERT_TRUE(w.find<QMenu>(u"mnuMaintNodes1"_s)->isVisible());
        w.find<QMenu>(u"mnuMaintNodes1"_s)->hide();  // as a menu does before it runs the chosen entry
        w.find<QAction>(u"mnuMaintNodes_%1"_s.arg(entry))->trigger();
    }
    QLineEdit* labelEditor() const {
        for (QLineEdit* e : view->findChildren<QLineEdit*>())
            if (e->isVisible()) return e;
        return nullptr;
    }
    void typeName(const QString& text) {
        QLineEdit* editor = labelEditor();
        ASSERT_NE(editor, nullptr);
        editor->setText(text);
        widget_input::key(editor, Qt::Key_Return);
        QApplication::processEvents();  // the editor closes on the next turn of the loop
    }
    void escape() { widget_input::key(labelEditor(), Qt::Key_Escape); }
    void drop(QMimeData* mime, NodeId onto, Qt::KeyboardModifiers modifiers = {}) {
        const QPoint p = at(onto);
        QDragEnterEvent enter(p, Qt::CopyAction | Qt::MoveAction, mime, Qt::NoButton, modifiers);
        QApplication::sendEvent(view->viewport(), &enter);
        QDropEvent dropped(QPointF(p), Qt::CopyAction | Qt::MoveAction, mime, Qt::NoButton, modifiers);
        QApplication::sendEvent(view->viewport(), &dropped);
        delete mime;
    }
    void dropText(const QString& text, NodeId onto, Qt::KeyboardModifiers modifiers = {}) {
        auto* mime = new QMimeData;
        mime->setText(text);
        drop(mime, onto, modifiers);
        if (labelEditor()) escape();  // a dropped link is offered for naming
    }
    // A node dragged onto another: what the drag carries is dropped, then the button goes up.
    void drag(NodeId from, NodeId onto) {
        press(from);
        drop(view->collectDragData()->takeMimeData(), onto);
        widget_input::mouse(view->viewport(), QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, {}, at(onto));
    }
    void showPage() {
        w.find<platform::WebBrowser>(u"WebBrowser1"_s)->Navigate(u"file://"_s + dir.filePath(u"page.htm"_s));
        static_cast<testing_support::OfflineBrowser*>(w.find<platform::WebBrowser>(u"WebBrowser1"_s))->settle();
    }
    bool listModified() const { return w.context.document.modified(DocumentState::Document::List); }
    QByteArray saved() {
        w.find<QAction>(u"mnuFileSave"_s)->trigger();
        EXPECT_FALSE(listModified());
        return readBytes(file);
    }
};

}  // namespace

TEST_F(TreePaneTest, ClicksRunCommandsOpenPagesAndHoveringShowsWhatAClickRuns) {
    click(node(u"Physics"_s));
    EXPECT_EQ(recorder->commands, QStringList{u"mtp://field=DC.Subject&content=Physics&scheme=LCSH.fld"_s});
    widget_input::mouse(view->viewport(), QEvent::MouseMove, Qt::NoButton, Qt::NoButton, {}, at(node(u"Remodelling"_s)));
    EXPECT_EQ(w.find<platform::StatusBar>(u"StatusBar1"_s)->panelText(3), u"http://remodel.example/"_s);

    // A modified list is offered for saving first; Cancel runs nothing.
    w.context.document.markModified(DocumentState::Document::List);
    boxes.expect(u"The catalog has been modified. Save first Save List before modifying metadata record??"_s, platform::kAnswerCancel);
    click(node(u"Physics"_s));
    EXPECT_EQ(recorder->commands.size(), 1);
    w.context.document.dropMark();

    // A folder opens; a link opens its page and reads the page's record.
    click(node(u"Art"_s));
    click(node(u"Modern"_s));
    EXPECT_TRUE(tree->isExpanded(node(u"Modern"_s)));
    recorder.reset();
    click(node(u"Tate"_s));
    showPage();
    EXPECT_EQ(w.find<QComboBox>(u"URL"_s)->currentText(), u"file://"_s + dir.filePath(u"page.htm"_s));
    EXPECT_EQ(w.context.record.count(), 1);
    click(node(u"Sites"_s));  // the root opens nothing
    EXPECT_EQ(w.find<QComboBox>(u"URL"_s)->currentText(), u"file://"_s + dir.filePath(u"page.htm"_s));

    // With a repository, a link fetches the repository's record instead.
    recorder.emplace(w.context);
    w.context.macros.openRecordMacro = u"mtp://cgisend=getRecord.kqb"_s;
    w.find<QComboBox>(u"URL"_s)->setEditText(QString());
    click(node(u"Remodelling"_s));
    EXPECT_EQ(recorder->commands, QStringList{w.context.macros.openRecordMacro});

    // The repository's catalogue files the record under a folder's path.
    w.context.treeIndex = 1;
    tree = &w.activeTree();
    view = w.activeTreeView();
    const NodeId root = tree->add(0, Place::Last, u"Main Catalog\\"_s, u"Main Catalog"_s, 1, 0);
    const NodeId art = tree->add(root, Place::Child, u"Art\\"_s, u"Art & Design"_s, 1, 4);
    tree->add(art, Place::Child, u"Art\\Old\\"_s, u"Old"_s, 1, 4);
    view->setGeometry(w.find<ListTreeView>(u"TreeView1_0"_s)->geometry());
    w.find<ListTreeView>(u"TreeView1_0"_s)->hide();
    view->show();
    w.context.macros.repositorySchemes = u"LCSH|AATG"_s;
    click(node(u"Old"_s));
    EXPECT_EQ(recorder->commands.last(), u"mtp://field=DC.Subject&content=Art %26 Design; Old&scheme=LCSH.fld"_s);
}

TEST_F(TreePaneTest, TheContextMenuInsertsRenamesEditsDeletesAndFindsAndTheSaveKeepsIt) {
    // Empty space leaves Find and Close; the root takes only inserts into it.
    widget_input::click(view->viewport(), Qt::RightButton, {}, QPoint(5, view->viewport()->height() - 2));
    EXPECT_EQ(enabledEntries(), (QList<int>{14, 15}));
    click(node(u"Sites"_s), Qt::RightButton);
    EXPECT_EQ(enabledEntries(), (QList<int>{8, 9, 10, 14, 15}));
    click(node(u"Physics"_s), Qt::RightButton);
    EXPECT_EQ(w.find<QAction>(u"mnuMaintNodes_1"_s)->text(), u"mtp://field=DC.Subject&&content=Physics&&scheme=LCSH.fld"_s);
    EXPECT_EQ(enabledEntries().size(), 11);

    // A new folder is named at once; a second one beside it is numbered.
    menu(node(u"Sites"_s), 9);
    escape();
    menu(node(u"Sites"_s), 9);
    EXPECT_TRUE(listModified());
    typeName(u"Museums"_s);
    ASSERT_TRUE(node(u"New Folder"_s) && node(u"Museums"_s));
    // Renames: made safe for the file, never a neighbour's name; a command follows its name.
    menu(node(u"New Folder"_s), 2);
    typeName(u"Old | New"_s);
    boxes.expect(u"already holds an entry named Art"_s, platform::kAnswerOk);
    menu(node(u"Old ¦ New"_s), 2);
    typeName(u"Art"_s);
    menu(node(u"Physics"_s), 2);
    typeName(u"Space & Time"_s);
    EXPECT_EQ(tree->tag(node(u"Space & Time"_s)), u"mtp://field=DC.Subject&content=Space %26 Time&scheme=LCSH.fld"_s);
    menu(node(u"Tate"_s), 2);
    typeName(u"Tate Modern"_s);

    // The page shown, an entry typed in, a tag edited, a line deleted.
    showPage();
    menu(node(u"Museums"_s), 8);
    escape();
    modals.then([](QDialog& dialog) {
        typeOver(dialog, u"txtLabel"_s, u"Rijks"_s);
        typeOver(dialog, u"txtURL"_s, u"http://rijks.example/"_s);
        testing_support::press(dialog, u"cmdOK"_s);
    });
    menu(node(u"Museums"_s), 10);
    const auto answer = [](const QString& text) {
        return [text](QDialog& dialog) {
            typeOver(dialog, u"txtFieldName"_s, text);
            testing_support::press(dialog, u"cmdOK"_s);
        };
    };
    modals.then(answer(u"https://builders.example/"_s));
    menu(node(u"Remodelling"_s), 1);
    menu(node(u"Animals"_s), 12);

    // Find marks names that start with the text or have it after a blank.
    modals.then(answer(u"  mod "_s)).then(answer(u"(.*"_s));
    menu(node(u"Zoo"_s), 14);
    QStringList bold;
    for (int i = 1; i <= tree->count(); ++i)
        if (tree->isBold(tree->item(i))) bold << tree->text(tree->item(i));
    EXPECT_EQ(bold, (QStringList{u"Modern"_s, u"Tate Modern"_s}));
    menu(node(u"Zoo"_s), 14);
    EXPECT_FALSE(tree->isBold(node(u"Modern"_s)));

    EXPECT_EQ(saved(), expected("Art|\r\nArt|Modern|\r\nArt|Modern|Tate Modern|file://%1/page.htm\r\n"
                                "Museums|\r\nMuseums|Local page|file://%1/page.htm\r\n"
                                "Museums|Rijks|http://rijks.example/\r\nOld \xC2\xA6 New|\r\n"
                                "Remodelling|https://builders.example/\r\n"
                                "Space & Time|mtp://field=DC.Subject&content=Space %26 Time&scheme=LCSH.fld\r\nZoo|\r\n"));
    menu(node(u"Zoo"_s), 15);
    EXPECT_TRUE(view->isHidden());
}

// What a list file could not give back is refused where it is entered, naming the entry,
// before anything changes: a tag edited, a name typed, an entry typed in, a link dropped from
// a page, a node moved by a drag.
TEST_F(TreePaneTest, AnEntryTheListFileCouldNotGiveBackIsRefusedWhereItIsEntered) {
    const QString tate = tree->tag(node(u"Tate"_s));
    const auto refusal = [](const QString& entry, const QString& reason, const char* outcome) {
        return u"A list file can't keep the entry \""_s + entry + u"\": "_s + reason + u". "_s + QLatin1String(outcome);
    };
    const QString barAfterMtp = u"its tag holds \"|\" and holds \"mtp://\" without beginning with it"_s;
    // The line "Art|Modern|Tate|see mtp://x|y" would be cut at its last "|".
    modals.then([](QDialog& dialog) {
        typeOver(dialog, u"txtFieldName"_s, u"see mtp://x|y"_s);
        testing_support::press(dialog, u"cmdOK"_s);
    });
    boxes.expect(refusal(u"Art > Modern > Tate"_s, barAfterMtp, "The entry keeps its tag."), platform::kAnswerOk);
    menu(node(u"Tate"_s), TreePane::kEditTag);
    EXPECT_EQ(tree->tag(node(u"Tate"_s)), tate);
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().last().title, u"Quorvantile Alert"_s);
    // Below a name that begins with "mtp://", a link's line would be cut at that name.
    boxes.expect(refusal(u"Art > mtp://modern > Tate"_s,
                         u"the name \"mtp://modern\" above it begins with \"mtp://\" and its tag does not"_s,
                         "The entry keeps its name Modern."),
                 platform::kAnswerOk);
    menu(node(u"Modern"_s), TreePane::kRenameLine);
    typeName(u"mtp://modern"_s);
    EXPECT_TRUE(node(u"Modern"_s));
    // Typed in, a command holding another command; the dialog stays for a better one.
    boxes.expect(refusal(u"Art > Run"_s, u"its tag holds \"|mtp://\""_s, "Nothing was added."), platform::kAnswerOk);
    modals.then([](QDialog& dialog) {
        typeOver(dialog, u"txtLabel"_s, u"Run"_s);
        typeOver(dialog, u"txtURL"_s, u"mtp://open=a.kqb|mtp://b.kqb"_s);
        testing_support::press(dialog, u"cmdOK"_s);
        EXPECT_TRUE(dialog.isVisible());
        testing_support::press(dialog, u"cmdCancel"_s);
    });
    menu(node(u"Art"_s), TreePane::kManualInsertInFolder);
    EXPECT_FALSE(node(u"Run"_s));
    // A page's link whose address holds "mtp://" and "|".
    boxes.expect(refusal(u"Art > Untitled"_s, barAfterMtp, "Nothing was dropped."), platform::kAnswerOk);
    dropText(u"http://go.example/?to=mtp://x|y"_s, node(u"Art"_s));
    EXPECT_FALSE(node(u"Untitled"_s));
    // A folder may take such a name while nothing below it has a link; a link moved in may not.
    menu(node(u"Art"_s), TreePane::kInsertFolderInFolder);
    typeName(u"mtp://old"_s);
    boxes.expect(refusal(u"Art > mtp://old > Remodelling"_s,
                         u"the name \"mtp://old\" above it begins with \"mtp://\" and its tag does not"_s, "Nothing was moved."),
                 platform::kAnswerOk);
    drag(node(u"Remodelling"_s), node(u"mtp://old"_s));
    EXPECT_FALSE(tree->parent(node(u"Remodelling"_s)) == node(u"mtp://old"_s));
    EXPECT_EQ(saved(), expected(QByteArray(kCatalogue).replace("Physics|", "Art|mtp://old|\r\nPhysics|")));

    // In a scheme list a term's command gets "mtp://" in front: ending in "|", it would be read
    // as a folder.
    file = testing_support::writeBytes(dir.filePath(u"Birds.kqs"_s), "Owls|\r\nOwls|Barn|mtp://field=*&content=Barn.fld/\r\n");
    openList(u"schema"_s, u"Birds"_s);
    modals.then([](QDialog& dialog) {
        typeOver(dialog, u"txtFieldName"_s, u"field=a|"_s);
        testing_support::press(dialog, u"cmdOK"_s);
    });
    boxes.expect(refusal(u"Owls > Barn"_s, u"its tag ends in \"|\""_s, "The entry keeps its tag."), platform::kAnswerOk);
    menu(node(u"Barn"_s), TreePane::kEditTag);
    EXPECT_EQ(tree->tag(node(u"Barn"_s)), u"mtp://field=*&content=Barn.fld/"_s);
    EXPECT_FALSE(listModified());
}

// A local page's path or file address typed in as an entry's address stays a file address:
// saved and clicked, it opens that file.
TEST_F(TreePaneTest, ALocalPathTypedInAsAnEntryStaysALocalFile) {
    const QString page = dir.filePath(u"page.htm"_s);
    const auto typeIn = [&](const QString& label, const QString& address) {
        modals.then([label, address](QDialog& dialog) {
            widget_input::type(child<QLineEdit>(dialog, u"txtLabel"_s), label);
            widget_input::type(child<QLineEdit>(dialog, u"txtURL"_s), address);
            testing_support::press(dialog, u"cmdOK"_s);
        });
        menu(node(u"Zoo"_s), TreePane::kManualInsertInFolder);
    };
    typeIn(u"About"_s, page);
    typeIn(u"Typed"_s, u"file://"_s + page);
    typeIn(u"Web"_s, u"http://web.example/"_s);
    EXPECT_EQ(saved(), expected(kCatalogue + "Zoo|About|file://%1/page.htm\r\nZoo|Typed|file://%1/page.htm\r\n"
                                             "Zoo|Web|http://web.example/\r\n"));
    click(node(u"About"_s));
    showPage();
    EXPECT_EQ(w.find<QComboBox>(u"URL"_s)->currentText(), u"file://"_s + page);
    EXPECT_EQ(w.context.record.count(), 1);
}

TEST_F(TreePaneTest, FindInListMakesTheFirstHitCurrentAndScrollsToItWithoutRunningIt) {
    // Two hits far apart, below what the pane shows; each would run a command if clicked.
    const NodeId root = node(u"Sites"_s);
    int filler = 0;
    for (const QString& name : {u"Hidden Gem"_s, u"Gem Two"_s}) {
        for (int i = 0; i < 60; ++i, ++filler)
            tree->add(root, Place::Child, u"Sites\\Filler %1"_s.arg(filler), u"Filler %1"_s.arg(filler), 2);
        tree->setTag(tree->add(root, Place::Child, u"Sites\\"_s + name, name, 2),
                     u"mtp://field=DC.Subject&content=Gem.fld/"_s);
    }
    modals.then([](QDialog& dialog) {
        typeOver(dialog, u"txtFieldName"_s, u"gem"_s);
        testing_support::press(dialog, u"cmdOK"_s);
    });
    menu(node(u"Zoo"_s), 14);
    QApplication::processEvents();
    const NodeId first = node(u"Hidden Gem"_s);
    EXPECT_TRUE(tree->isBold(first) && tree->isBold(node(u"Gem Two"_s)));
    EXPECT_EQ(tree->selected(), first);
    EXPECT_EQ(view->currentIndex(), view->treeModel().indexOf(first));
    EXPECT_TRUE(view->viewport()->rect().contains(rectOf(first))) << rectOf(first).y();
    EXPECT_TRUE(recorder->commands.isEmpty()) << recorder->commands.join(u' ');
}

TEST_F(TreePaneTest, DraggedNodesMoveAndDroppedLinksAndCommandsBecomeNodesOrAreRefused) {
    // Nodes move into folders; never into themselves, never the top, never onto a link.
    drag(node(u"Modern"_s), node(u"Zoo"_s));
    EXPECT_TRUE(listModified());
    boxes.expect(u"Drag Drop failed: an entry cannot be moved into itself"_s, platform::kAnswerOk)
        .expect(u"Drag Drop failed: the top of the list cannot be moved"_s, platform::kAnswerOk)
        .expect(u"Unknown image type: 2"_s, platform::kAnswerOk);
    drag(node(u"Zoo"_s), node(u"Tate"_s));
    drag(node(u"Sites"_s), node(u"Zoo"_s));
    drag(node(u"Zoo"_s), node(u"Remodelling"_s));
    // A link carries this window's drag session and goes back where it is dropped.
    click(node(u"Tate"_s));
    const QString carried = view->collectDragData()->GetText();
    const QString session = carried.section(u'|', 0, 0).mid(QStringLiteral("mtp://addURL=").size());
    EXPECT_TRUE(carried.startsWith(u"mtp://addURL="_s) && !session.isEmpty()) << carried.toStdString();
    EXPECT_TRUE(carried.startsWith(u"mtp://addURL="_s + session + u"|Tate|file:"_s));
    EXPECT_TRUE(view->collectDragData()->GetText().startsWith(u"mtp://addURL="_s + session + u"|"_s));  // one per window
    drag(node(u"Tate"_s), node(u"Art"_s));

    // A link not on the page shown is "Untitled", once per folder. A page's link dragged in
    // carries its words as text and its address listed: the address counts.
    dropText(u"http://other.example/\nhttp://more.example/"_s, node(u"Tate"_s));
    boxes.expect(u"Rename the Untitled link before dropping another link without a title"_s, platform::kAnswerOk);
    auto* link = new QMimeData;
    link->setText(u"Other words"_s);
    link->setData(u"text/uri-list"_s, "https://third.example/\r\n");
    drop(link, node(u"Art"_s));
    dropText(u"http://zoo.example/"_s, node(u"Zoo"_s), Qt::ShiftModifier);  // a command named for the link
    const QByteArray big(1 << 20, 'a');
    dropText(u"http://big.example/"_s + QString::fromLatin1(big), node(u"Modern"_s));
    // Commands: a field command or batch becomes a node, a scheme list's load runs.
    dropText(u"mtp://field=DC.Type&content=Text.fld/"_s, node(u"Modern"_s));
    dropText(u"mtp://url=lists/Subjects.kqs/"_s, node(u"Art"_s));
    EXPECT_EQ(recorder->commands, QStringList{u"mtp://url=lists/Subjects.kqs/"_s});
    EXPECT_EQ(recorder->origins, QList<modMTP::CommandOrigin>{modMTP::CommandOrigin::Page});
    // Everything else is refused and changes nothing.
    boxes.expect(u"Can't drop things like: just words onto the Tree"_s, platform::kAnswerOk)
        .expect(u"Can't drop things like: "_s + file, platform::kAnswerOk)
        .expect(u"Cant drop mtp object of type htm onto the Hierarchy Window"_s, platform::kAnswerOk)
        .expect(u"only a command that loads a scheme list"_s, platform::kAnswerOk);
    dropText(u"just words"_s, node(u"Art"_s));
    auto* files = new QMimeData;
    files->setUrls({QUrl::fromLocalFile(file)});
    drop(files, node(u"Art"_s));
    dropText(u"mtp://open=/tmp/page.htm/"_s, node(u"Art"_s));
    dropText(u"mtp://save=/tmp/Sites.kqs/"_s, node(u"Art"_s));

    EXPECT_EQ(saved(), expected("Animals|mtp://field=DC.Subject&content=Animals&scheme=LCSH.fld\r\n"
                                "Art|\r\nArt|Tate|file://%1/page.htm\r\n"
                                "Art|Untitled|http://other.example/\r\n"
                                "Physics|mtp://field=DC.Subject&content=Physics&scheme=LCSH.fld\r\n"
                                "Remodelling|http://remodel.example/\r\nZoo|\r\n"
                                "Zoo|Modern|\r\nZoo|Modern|DC.Type|mtp://field=DC.Type&content=Text.fld/\r\n"
                                "Zoo|Modern|Untitled|http://big.example/" + big +
                                "\r\nZoo|Untitled|mtp://field=DC.Subject&content=Untitled&scheme=LCSH.fld\r\n"));
}

TEST_F(TreePaneTest, ADragNearTheBottomEdgeScrollsTheTree) {
    for (int i = 1; i <= 60; ++i)
        tree->add(node(u"Zoo"_s), Place::Child, u"Zoo\\%1\\"_s.arg(i), u"Animal %1"_s.arg(i), 2, 2);
    tree->setExpanded(node(u"Zoo"_s), true);
    tree->setText(node(u"Art"_s), QString(300, u'W'));  // a long name is shown whole, scrolled to
    QApplication::processEvents();  // laid out again
    EXPECT_GT(view->horizontalScrollBar()->maximum(), 0);
    press(node(u"Remodelling"_s));
    QMimeData mime;
    QDragEnterEvent enter(QPoint(20, view->viewport()->height() - 3), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(view->viewport(), &enter);
    EXPECT_TRUE(w.find<QTimer>(u"ScrollTimer"_s)->isActive());
    QElapsedTimer clock;
    clock.start();
    while (view->verticalScrollBar()->value() < 2 && clock.elapsed() < 5000) QApplication::processEvents();
    EXPECT_GE(view->verticalScrollBar()->value(), 2);
}

TEST_F(TreePaneTest, AnEntryTypedIntoASchemeListGetsItsFieldCommandProposed) {
    file = testing_support::writeBytes(dir.filePath(u"Birds.kqs"_s), "Owls|\r\n");
    openList(u"schema"_s, u"Birds"_s);
    click(node(u"Owls"_s), Qt::RightButton);
    EXPECT_EQ(enabledEntries(), (QList<int>{1, 2, 5, 6, 9, 10, 12, 14, 15}));  // no page goes into a scheme list
    modals.then([](QDialog& dialog) {
        widget_input::type(child<QLineEdit>(dialog, u"txtLabel"_s), u"Barn & Owl"_s);
        EXPECT_EQ(child<QLineEdit>(dialog, u"txtURL"_s)->text(), u"mtp://field=*&content=Barn %26 Owl&scheme=Birds.fld/"_s);
        testing_support::press(dialog, u"cmdOK"_s);
    });
    menu(node(u"Owls"_s), 10);
    EXPECT_EQ(saved(), "Owls|\r\nOwls|Barn & Owl|mtp://field=*&content=Barn %26 Owl&scheme=Birds.fld/\r\n");
}

TEST_F(TreePaneTest, ARenameChangesOnlyTheNameAndMarksTheList) {
    // Escape keeps the node as it was, also one whose command the list's first command would
    // name otherwise.
    const QString coverage = u"mtp://field=DC.Coverage&content=Physics&lang=en.fld/"_s;
    tree->setTag(node(u"Physics"_s), coverage);
    menu(node(u"Physics"_s), 2);
    escape();
    EXPECT_EQ(tree->tag(node(u"Physics"_s)), coverage);
    EXPECT_EQ(tree->text(node(u"Physics"_s)), u"Physics"_s);
    EXPECT_FALSE(listModified());
    // A term keeps its element, language and scheme: only its content follows the name.
    tree->setTag(node(u"Physics"_s), u"mtp://field=DC.Subject&content=Physics&lang=en&scheme=LCSH.fld/"_s);
    menu(node(u"Physics"_s), 2);
    typeName(u"Quantum & physics"_s);
    EXPECT_EQ(tree->tag(node(u"Quantum & physics"_s)),
              u"mtp://field=DC.Subject&content=Quantum %26 physics&lang=en&scheme=LCSH.fld/"_s);
    EXPECT_TRUE(listModified());
    // Batches and links keep what they run; an empty name keeps the old one.
    dropText(u"mtp://open=/srv/agency.kqb/"_s, node(u"Zoo"_s));
    menu(node(u"Macro"_s), 2);
    typeName(u"Agency batch"_s);
    EXPECT_EQ(tree->tag(node(u"Agency batch"_s)), u"mtp://open=/srv/agency.kqb/"_s);
    menu(node(u"Remodelling"_s), 2);
    typeName(u"Builders"_s);
    menu(node(u"Builders"_s), 2);
    typeName(QString());
    EXPECT_EQ(tree->tag(node(u"Builders"_s)), u"http://remodel.example/"_s);
    const QByteArray written = saved();
    EXPECT_EQ(written, expected("Animals|mtp://field=DC.Subject&content=Animals&scheme=LCSH.fld\r\n"
                                "Art|\r\nArt|Modern|\r\nArt|Modern|Tate|file://%1/page.htm\r\n"
                                "Builders|http://remodel.example/\r\n"
                                "Quantum & physics|mtp://field=DC.Subject&content=Quantum %26 physics&lang=en&scheme=LCSH.fld/\r\n"
                                "Zoo|\r\nZoo|Agency batch|mtp://open=/srv/agency.kqb/\r\n"));
    // With the record's edits unsaved, the rename asks first; Cancel keeps the old name.
    w.context.document.markModified(DocumentState::Document::Record);
    boxes.expect(u"Save the metadata edits in the metapanel first?"_s, platform::kAnswerCancel);
    menu(node(u"Builders"_s), 2);
    typeName(u"Renovators"_s);
    EXPECT_NE(node(u"Builders"_s), 0u);
    EXPECT_EQ(node(u"Renovators"_s), 0u);
    EXPECT_FALSE(listModified());
    w.context.document.dropMark();
}

TEST_F(TreePaneTest, AWebLinkIsRefusedByASchemeListButMayBecomeATerm) {
    file = testing_support::writeBytes(dir.filePath(u"Birds.kqs"_s), "Owls|\r\n");
    openList(u"schema"_s, u"Birds"_s);
    boxes.expect(u"A scheme list holds terms: a web link can't be dropped onto it."_s, platform::kAnswerOk)
        .expect(u"A scheme list holds terms: a web link can't be dropped onto it."_s, platform::kAnswerOk);
    dropText(u"http://x.example/"_s, node(u"Owls"_s));
    dropText(u"mtp://addURL=elsewhere|Hawks|http://hawks.example/.fld"_s, node(u"Owls"_s));
    ASSERT_EQ(boxes.shown().size(), 2);
    EXPECT_EQ(boxes.shown().first().title, u"Quorvantile Alert"_s);
    EXPECT_FALSE(listModified());
    // With Shift the link's name becomes a term.
    dropText(u"http://x.example/"_s, node(u"Owls"_s), Qt::ShiftModifier);
    EXPECT_EQ(saved(), "Owls|\r\nOwls|Untitled|mtp://field=*&content=Untitled.fld\r\n");
}

// A list changed in the pane (a node moved by a drag, a link dropped in, a line renamed and
// one deleted) is written as a catalogue, a Harvest Control List in both forms and a channel,
// each in the order and the bytes these changes leave.
TEST_F(TreePaneTest, AListChangedInThePaneIsWrittenInEveryFormAsItStands) {
    drag(node(u"Modern"_s), node(u"Zoo"_s));
    dropText(u"http://other.example/?a=1&b=2"_s, node(u"Art"_s));
    menu(node(u"Remodelling"_s), TreePane::kRenameLine);
    typeName(u"Builders & <Sons>"_s);
    menu(node(u"Physics"_s), TreePane::kDeleteNode);
    EXPECT_EQ(saved(), expected("Animals|mtp://field=DC.Subject&content=Animals&scheme=LCSH.fld\r\n"
                                "Art|\r\nArt|Untitled|http://other.example/?a=1&b=2\r\n"
                                "Builders & <Sons>|http://remodel.example/\r\nZoo|\r\nZoo|Modern|\r\n"
                                "Zoo|Modern|Tate|file://%1/page.htm\r\n"));
    const auto written = [&](const QString& domain, const QString& command, const QString& file) {
        w.context.domain.defaultSchema = domain;
        QString line = u"mtp://"_s + command;
        modMTP::mtpTransaction(w.context, line);
        return readBytes(dir.filePath(file));
    };
    // Sorted by folder in the Harvest Control List, in the order of addition in the channel.
    const QByteArray animals = "<title>Animals</title>\r\n          <link>mtp://field=DC.Subject&amp;content=Animals&amp;"
                               "scheme=LCSH.fld</link>\r\n";
    const QByteArray untitled = "<title>Untitled</title>\r\n          <link>http://other.example/?a=1&amp;b=2</link>\r\n";
    const QByteArray builders = "<title>Builders &amp; &lt;Sons&gt;</title>\r\n          <link>http://remodel.example/</link>\r\n";
    const QByteArray tate = expected("<title>Tate</title>\r\n          <link>file://%1/page.htm</link>\r\n");
    const auto folder = [](const QByteArray& levels, bool site) {
        return site ? "          <META NAME=\"AGLS.Function\" LANG=\"en\" CONTENT=\"" + levels + "\" SCHEME=\"HCL\">\r\n"
                    : "          <local lname=\"Folder\">" + levels + "</local>\r\n";
    };
    const auto items = [&](const QByteArray& indent, bool site) {
        const QByteArray open = indent + "<item>\r\n          ";
        const QByteArray close = indent + "</item>\r\n";
        return open + animals + close + open + untitled + folder("Art", site) + close + open + builders + close + open + tate +
               folder("Zoo; Modern", site) + close;
    };
    EXPECT_EQ(written(u"AGLS1.3"_s, u"savehcl="_s + dir.filePath(u"agls"_s) + u'|' + dir.path() + u"/.kqi"_s, u"agls"_s),
              "<?xml version=\"1.0\"?>\r\n<!DOCTYPE hcl SYSTEM \"http://schemes.quorvantil.example/dtd/hcl.dtd\">\r\n"
              "<hcl updated=\"" + QDate::currentDate().toString(u"yyyy-MM-dd"_s).toLatin1() + "\" version=\"1.0\">\r\n<site>\r\n" +
                  items("  ", false) + "  <site.administrator></site.administrator>\r\n  <email></email>\r\n</site>\r\n</hcl>\r\n");
    EXPECT_EQ(written(u"AGLS"_s, u"savehcl="_s + dir.filePath(u"site"_s) + u'|' + dir.path() + u"/.kqi"_s, u"site"_s),
              "<xml version=\"1.1\">\r\n<site>\r\n" + items("     ", true) + "</site>\r\n");
    const QByteArray channel =
        written(u"AGLS"_s, u"saverss="_s + dir.filePath(u"channel.xml"_s) + u".kqi"_s, u"channel.xml"_s);
    const QByteArray page = expected("file://%1/page.htm");
    const QByteArray links[] = {"mtp://field=DC.Subject&amp;content=Animals&amp;scheme=LCSH.fld", page,
                                "http://remodel.example/", "http://other.example/?a=1&amp;b=2"};
    QByteArray sequence;
    for (const QByteArray& link : links) sequence += "          <rdf:li resource=\"" + link + "\" />\r\n";
    const auto item = [](const QByteArray& link, const QByteArray& body, const QByteArray& levels) {
        return "     <item rdf:about=\"" + link + "\">\r\n          " + body +
               (levels.isEmpty() ? QByteArray() : "          <kq:folder>" + levels + "</kq:folder>\r\n") + "     </item>\r\n";
    };
    EXPECT_EQ(channel.left(channel.indexOf("<items>")),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<rdf:RDF\r\n"
              "xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\"\r\nxmlns:dc=\"http://purl.org/dc/elements/1.1/\"\r\n"
              "xmlns:kq=\"http://schemes.quorvantil.example/rss/kq#\"\r\nxmlns=\"http://purl.org/rss/1.0/\">\r\n"
              "<channel rdf:about=\"\">\r\n     <title></title>\r\n     <link></link>\r\n     <description></description>\r\n");
    EXPECT_EQ(channel.mid(channel.indexOf("<items>")),
              "<items>\r\n<rdf:Seq>\r\n" + sequence + "</rdf:Seq>\r\n</items>\r\n</channel>\r\n" +
                  item(links[0], animals, {}) + item(page, tate, "Zoo; Modern") + item(links[2], builders, {}) +
                  item(links[3], untitled, "Art") + "</rdf:RDF>\r\n");
}

// A node dragged with the mouse moves only once the record's question is answered; the
// drop is the pane's own, taken as a copy, so the view itself takes no row away.
TEST_F(TreePaneTest, ADragAsksAboutTheRecordFirstAndCancelLeavesTheTreeAsItWas) {
    const QString question = u"Save the metadata edits in the metapanel first?"_s;
    w.context.document.markModified(DocumentState::Document::Record);
    const NodeId modern = node(u"Modern"_s);
    const NodeId zoo = node(u"Zoo"_s);
    const int count = tree->count();
    boxes.expect(question, platform::kAnswerCancel).expect(question, platform::kAnswerNo);
    QPoint from = at(modern);
    EXPECT_EQ(widget_input::drag(view->viewport(), from, view->viewport(), at(zoo)), Qt::CopyAction);
    EXPECT_EQ(tree->parent(modern), node(u"Art"_s));
    EXPECT_FALSE(listModified());
    from = at(modern);
    EXPECT_EQ(widget_input::drag(view->viewport(), from, view->viewport(), at(zoo)), Qt::CopyAction);
    EXPECT_EQ(tree->parent(modern), zoo);
    EXPECT_EQ(tree->count(), count);
    EXPECT_TRUE(listModified());
    EXPECT_EQ(boxes.shown().size(), 2);
    w.context.document.dropMark();
}

// What the pane shows after the user moved, dropped or deleted something: the node the
// action left current is on a shown row, highlighted, and the keys go on from it.
class TreePaneSightTest : public TreePaneTest {
protected:
    // The node the pane highlights, as the user sees it; 0 when none is.
    NodeId highlighted() const {
        const QModelIndexList rows = view->selectionModel()->selectedRows();
        if (rows.size() != 1 || !rowShown(rows.first())) return 0;
        return view->treeModel().idOf(rows.first());
    }
    // The row is on screen: every folder above it is open in the pane.
    bool rowShown(const QModelIndex& index) const {
        for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
            if (!view->isExpanded(up)) return false;
        return index.isValid();
    }
    // The row the Down key goes to from the highlighted one.
    NodeId afterDown() {
        view->setFocus();
        widget_input::key(view, Qt::Key_Down);
        return highlighted();
    }
    // The left button goes down on one node and up on another, the mouse moved between.
    void dragWithMouse(NodeId from, NodeId onto) {
        const QPoint start = at(from);
        const QPoint end = rectOf(onto).center();  // the target stays as it is: closed
        EXPECT_EQ(widget_input::drag(view->viewport(), start, view->viewport(), end), Qt::CopyAction);
    }
};

TEST_F(TreePaneSightTest, ANodeDraggedIntoAClosedFolderIsShownThereAndStaysCurrent) {
    const NodeId art = node(u"Art"_s), physics = node(u"Physics"_s);
    ASSERT_FALSE(view->isExpanded(view->treeModel().indexOf(art)));
    dragWithMouse(physics, art);
    ASSERT_EQ(tree->parent(physics), art);
    EXPECT_TRUE(view->isExpanded(view->treeModel().indexOf(art)));
    EXPECT_EQ(highlighted(), physics);
    EXPECT_EQ(afterDown(), node(u"Remodelling"_s));  // Art's last child is followed by Art's next sibling

    // In a scheme list a term goes into the closed folder it is dropped on.
    w.context.document.dropMark();
    file = testing_support::writeBytes(dir.filePath(u"Birds.kqs"_s), "Owls|\r\nOwls|Barn|mtp://field=*&content=Barn.fld/\r\n"
                                                                      "Hawks|\r\nHawks|Kite|mtp://field=*&content=Kite.fld/\r\n");
    openList(u"schema"_s, u"Birds"_s);
    const NodeId kite = node(u"Kite"_s), owls = node(u"Owls"_s);
    ASSERT_FALSE(view->isExpanded(view->treeModel().indexOf(owls)));
    dragWithMouse(kite, owls);
    ASSERT_EQ(tree->parent(kite), owls);
    EXPECT_EQ(highlighted(), kite);
}

TEST_F(TreePaneSightTest, ALinkDraggedIntoAnEmptyFolderIsShownThere) {
    // A link carries its address out of the tree; dropped back, it moves.
    const NodeId zoo = node(u"Zoo"_s), link = node(u"Remodelling"_s);
    ASSERT_EQ(tree->childCount(zoo), 0);
    dragWithMouse(link, zoo);
    ASSERT_EQ(tree->parent(link), zoo);
    EXPECT_TRUE(view->isExpanded(view->treeModel().indexOf(zoo)));
    EXPECT_EQ(highlighted(), link);
}

TEST_F(TreePaneSightTest, DeleteLineLeavesTheNextLineCurrentAndCloseListGivesTheEditPanelTheFocus) {
    // The next sibling; after the last one, the one before; after an only child, its folder.
    menu(node(u"Physics"_s), TreePane::kDeleteNode);
    EXPECT_EQ(highlighted(), node(u"Remodelling"_s));
    EXPECT_EQ(tree->selected(), node(u"Remodelling"_s));
    menu(node(u"Zoo"_s), TreePane::kDeleteNode);
    EXPECT_EQ(highlighted(), node(u"Remodelling"_s));
    menu(node(u"Tate"_s), TreePane::kDeleteNode);
    EXPECT_EQ(highlighted(), node(u"Modern"_s));
    EXPECT_EQ(afterDown(), node(u"Remodelling"_s));

    // A line open in the edit panel, the user working in the tree: closing the list hands
    // the focus to the edit panel.
    w.context.record.append({u"DC.Title"_s, u"Title"_s, {}, {}});
    w.openLine(1);
    QApplication::setActiveWindow(w.form.get());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at(node(u"Modern"_s)));  // through the window system
    ASSERT_TRUE(view->hasFocus());
    menu(node(u"Modern"_s), TreePane::kCloseList);
    ASSERT_TRUE(view->isHidden());
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    EXPECT_TRUE(w.find<QWidget>(u"EditPanel"_s)->isAncestorOf(focus)) << focus->objectName().toStdString();
}

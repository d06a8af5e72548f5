#pragma once
#include "platform/WidgetInput.h"
#include "core/program/CRegSettings.h"
#include "gui/app/modMetaMain.h"
#include "core/commands/modMacros.h"
#include "core/record/Record.h"
#include "core/domains/modSchemas.h"
#include "gui/record/MetaPanelView.h"
#include "platform/widgets/StatusBar.h"
#include "core/catalogues/ListTree.h"
#include "gui/catalogues/ListTreeView.h"
#include "support/CommandRecorder.h"
#include "support/LocalHttpServer.h"
#include "support/OfflineBrowser.h"
#include "support/TestWindow.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using platform::kAnswerCancel, platform::kAnswerNo, platform::kAnswerOk, platform::kAnswerYes;
using testing_support::child;
using testing_support::CommandRecorder;
using testing_support::press;
using testing_support::typeOver;
using testing_support::StartedProcesses;


// The desktop's letters a quarter larger while it lives, as at 125% scaling.
class LargerFont {
public:
    LargerFont() : usual_(QApplication::font()) {
        QFont larger = usual_;
        larger.setPointSizeF(usual_.pointSizeF() * 1.25);
        QApplication::setFont(larger);
        QApplication::processEvents();  // every widget hears of it
    }
    ~LargerFont() { QApplication::setFont(usual_); }
    LargerFont(const LargerFont&) = delete;
    LargerFont& operator=(const LargerFont&) = delete;

private:
    QFont usual_;
};

// A main window with scripted message boxes and a folder for its files.
class WindowTest : public ::testing::Test {
protected:
    testing_support::TestWindow w;
    testing_support::ScriptedMsgBoxes boxes;
    QTemporaryDir dir;
    static inline const QString kSave = u"Save the metadata edits"_s;
    QString path(const QString& name) const { return dir.path() + QLatin1Char('/') + name; }
    QString write(const QString& name, const QByteArray& bytes) const {
        return testing_support::writeBytes(path(name), bytes);
    }
    static QByteArray read(const QString& file) { return testing_support::readBytes(file); }
    testing_support::OfflineBrowser& browser() const { return testing_support::offlineBrowser(w.find<platform::WebBrowser>(u"WebBrowser1"_s)); }
    void open(const QString& address) { w.enter(address); }
    QString panel2() const { return w.find<platform::StatusBar>(u"StatusBar1"_s)->panelText(2); }
    QString tag2() const { return w.find<platform::StatusBar>(u"StatusBar1"_s)->panelTag(2); }
    // The document marked as edited the way a user does it, changing nothing in it: a
    // character typed into the first line's content and taken back (a line is added when
    // the record has none), or the tag of the list's first line below its root written
    // again as it was.
    void mark(DocumentState::Document document) {
        if (document == DocumentState::Document::Record) {
            if (w.context.record.isEmpty()) w.context.record.append({u"DC.Title"_s, u"T"_s, {}, {}});
            editLine(1);
            QLineEdit* box = w.find<QLineEdit>(u"editNrmlContent"_s);
            box->end(false);
            widget_input::type(box, u"x"_s);
            widget_input::key(box, Qt::Key_Backspace);
            return;
        }
        w.editListTagAgain();
    }
    void editLine(int index) { w.openLine(index); }
};

// With scripted file dialogs; the program-wide values the File menu reads are put back.
class FileMenuTest : public WindowTest {
protected:
    testing_support::ScriptedFileDialogs dialogs;
    void SetUp() override { w.context.commands.loggingOn = false; }

    ListTree& tree() const { return w.activeTree(); }
    QString folderAt(const QString& name) const {
        EXPECT_TRUE(QDir().mkpath(path(name)));
        return path(name);
    }
    // A page read into the record; with a new title typed into the edit panel, if given.
    QString openPage(const QString& name, const QString& newTitle = QString()) {
        w.context.preferences.UseLinkRel.setText(u"N"_s);
        const QString page = write(name, kPage);
        w.enter(page);
        EXPECT_EQ(w.context.document.currentHTMLFile(), page);
        if (!newTitle.isEmpty()) {
            editLine(1);
            w.find<QLineEdit>(u"editNrmlContent"_s)->setText(newTitle);
        }
        return page;
    }
    // A list in the active tree, of the given kind as it was read: a root with the tag, and
    // one entry (kCatsList).
    void makeList(const QString& rootTag, DocumentState::ListKind kind = DocumentState::ListKind::Catalogue) {
        tree().clear();
        w.context.document.setListKind(kind);
        w.context.rootName = u"Subjects"_s;
        const ListTree::NodeId root = tree().add(0, ListTree::Place::Last, u"Subjects\\"_s, u"Subjects"_s, 1, 4);
        tree().setTag(root, rootTag);
        tree().setTag(tree().add(root, ListTree::Place::Child, u"Subjects\\Cats"_s, u"Cats"_s, 2),
                      u"mtp://field=DC.Subject&content=Cats.fld/"_s);
    }
    static QByteArray pageTitled(const QByteArray& title) {
        return kHeadStart + "<META NAME=\"DC.Title\" CONTENT=\"" + title + "\">\r\n" + kTail;
    }
    static inline const QByteArray kCatsList = "Cats|mtp://field=DC.Subject&content=Cats.fld/\r\n";
    static inline const QByteArray kHeadStart = "<html>\r\n<head>\r\n<title>Page</title>\r\n";
    static inline const QByteArray kTail = "</head>\r\n<body>\r\n<p>Caf\xC3\xA9 \"text\"</p>\r\n</body>\r\n</html>\r\n";
    static inline const QByteArray kPage = kHeadStart + "<meta name=\"DC.Title\" content=\"Old title\">\r\n" + kTail;
};

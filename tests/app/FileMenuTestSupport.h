#pragma once
#include "app/Preferences.h"
#include "commands/modMacros.h"
#include "platform/ListView.h"
#include "platform/StatusBar.h"
#include "platform/TreeView.h"
#include "support/Common.h"
#include "support/OfflineBrowser.h"
#include "support/ScriptedUi.h"
#include "support/TestWindow.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// A main window with scripted boxes and dialogs and a folder of files; the program-wide
// values the File menu reads are put back after each test.
class FileMenuTest : public ::testing::Test {
protected:
    testing_support::TestWindow w;
    testing_support::ScriptedMsgBoxes boxes;
    testing_support::ScriptedFileDialogs dialogs;
    QTemporaryDir dir;

    void TearDown() override {
        for (QString* macro : {&modMacros::saveRecordMacro, &modMacros::openRecordMacro, &modMacros::saveCatalogMacro,
                               &modMacros::openCatalogMacro})
            macro->clear();
    }

    QString path(const QString& name) const { return dir.path() + QLatin1Char('/') + name; }
    QString write(const QString& name, const QByteArray& bytes) const {
        return testing_support::writeBytes(path(name), bytes);
    }
    static QByteArray read(const QString& file) { return testing_support::readBytes(file); }
    QString panel2() const { return w->StatusBar1->panelText(2); }
    QString tag2() const { return w->StatusBar1->panelTag(2); }
    void mark(DocumentState::Document document) {
        w->documentState->markModified(document);
        w->setMnuFileSaveAs();
    }
    testing_support::OfflineBrowser& browser() const { return testing_support::offlineBrowser(w->WebBrowser1); }
    platform::TreeView& tree() const { return *w->activeTree(); }

    // A page read into the record; with a new title typed into the edit panel, if given.
    QString openPage(const QString& name, const QString& newTitle = QString()) {
        Preferences::UseLinkRel = QStringLiteral("N");
        const QString page = write(name, kPage);
        EXPECT_EQ(w->LoadMetadataFromURL(page, true), 0);
        w->documentState->setCurrentHTMLFile(page);
        if (!newTitle.isEmpty()) {
            w->MetaPanel->setSelectedItem(w->MetaPanel->Item(1));
            w->editCurrentLine();
            w->editNrmlContent->setText(newTitle);
        }
        return page;
    }
    // A list in the active tree: a root of the given kind with one entry (kCatsList).
    void makeList(const QString& rootTag, const QString& name = QStringLiteral("Subjects")) {
        tree().Clear();
        w->rootName = name;
        platform::Node* root = tree().Add(nullptr, platform::tvwLast, name + QLatin1Char('\\'), name, 1, 4);
        root->setTag(rootTag);
        tree().Add(root, platform::tvwChild, name + QStringLiteral("\\Cats"), QStringLiteral("Cats"), 2)
            ->setTag(QStringLiteral("mtp://field=DC.Subject&content=Cats.fld/"));
    }

    static inline const QByteArray kCatsList = "Cats|mtp://field=DC.Subject&content=Cats.fld/\r\n";
    static inline const QByteArray kHeadStart = "<html>\r\n<head>\r\n<title>Page</title>\r\n";
    static inline const QByteArray kTail = "</head>\r\n<body>\r\n<p>Caf\xC3\xA9 \"text\"</p>\r\n</body>\r\n</html>\r\n";
    static inline const QByteArray kPage = kHeadStart + "<meta name=\"DC.Title\" content=\"Old title\">\r\n" + kTail;

private:
    testing_support::KeptValues kept_{&Preferences::FileNewURL, &Preferences::UseLinkRel};
};

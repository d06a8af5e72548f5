// Where each command goes, and what its handler is given.
#include "commands/CommandRoute.h"

#include "support/Common.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using modMTP::CommandRow;
using modMTP::routeCommand;

namespace {

TEST(CommandRoute, EveryVerbFindsItsRowAndLocation) {
    struct Row {
        const char* command;
        CommandRow row;
        const char* location;
        const char* folder = "";
    };
    const Row rows[] = {
        {"mtp://delete=all.kqs/", CommandRow::SchemeDeleteAll, ""},
        {"mtp://open=/lists/terms.kqs/", CommandRow::SchemeOpen, "/lists/terms.kqs"},
        {"mtp://open=remote=Subjects.kqs/", CommandRow::SchemeOpen, "remote=Subjects"},
        {"mtp://save=/lists/mine.kqs/", CommandRow::SchemeSave, "/lists/mine.kqs"},
        {"mtp://url=schemes.example/apais.kqs/", CommandRow::SchemeLoad, "url=schemes.example/apais.kqs"},
        {"mtp://url=host/a.b.c|d.kqs/", CommandRow::SchemeLoad, "url=host/a.b.c|d.kqs"},
        {"mtp://delete=all.kqi/", CommandRow::CatalogDeleteAll, ""},
        {"mtp://DELETE=ALL.kqi/", CommandRow::CatalogLoad, "DELETE=ALL.kqi"},  // in capitals: a list
        {"mtp://save=/lists/cat.kqi/", CommandRow::CatalogSave, "/lists/cat.kqi"},
        {"mtp://savehcl=/site/hcl|/site/records/.kqi/", CommandRow::CatalogSaveHcl, "/site/hcl.kqi", "/site/records/"},
        {"mtp://saverss=/site/rss.htm|ignored.kqi/", CommandRow::CatalogSaveRss, "/site/rss.htm"},
        {"mtp://loadHCL=host.example/hcl.xml.kqi/", CommandRow::CatalogLoadHcl, "http://host.example/hcl.xml"},
        {"mtp://loadHCL=https://host.example/h.xml.kqi/", CommandRow::CatalogLoadHcl, "https://host.example/h.xml"},
        {"mtp://url=loadRSS=/site/rss.xml.kqi/", CommandRow::CatalogLoadRss, "file:///site/rss.xml"},
        {"mtp://remote=Main.kqi/", CommandRow::CatalogLoad, "remote=Main"},
        {"mtp://delete=all.fld/", CommandRow::FieldsDeleteAll, ""},
        {"mtp://gotop.fld/", CommandRow::FieldsGoTop, ""},
        {"mtp://field=DC.Subject&content=GoTop.fld/", CommandRow::Field, "mtp://field=DC.Subject&content=GoTop.fld/"},
        {"mtp://save=/t/record.kqb/", CommandRow::BatchSave, "/t/record.kqb"},
        // A macro line that saves is still a macro to store.
        {"mtp://addmacro=mtp://save=/t/p.htm&fkey=F3.kqb/", CommandRow::BatchAddMacro,
         "mtp://addmacro=mtp://save=/t/p.htm&fkey=F3.kqb/"},
        {"MTP://AddMacro=mtp://gotop.fld&text=Top.kqb/", CommandRow::BatchAddMacro,
         "MTP://AddMacro=mtp://gotop.fld&text=Top.kqb/"},
        {"mtp://open=/t/run.kqb/", CommandRow::BatchOpen, "/t/run.kqb"},
        {"mtp://cgisendHCL=host/cgi-bin/hcl?put.kqb/", CommandRow::BatchCgiSendHcl, "mtp://host/cgi-bin/hcl?put.kqb/"},
        {"mtp://cgisendList=host/list?put.kqb/", CommandRow::BatchCgiSendList, "mtp://host/list?put.kqb/"},
        {"mtp://cgisend=host/cgi-bin/rec?get.kqb/", CommandRow::BatchCgiSend, "mtp://host/cgi-bin/rec?get.kqb/"},
        {"mtp://setdomain=AGLS1.2.kqb/", CommandRow::BatchSetDomain, "mtp://setdomain=AGLS1.2.kqb/"},
        {"mtp://getMetaFromHCL=/site/records/.kqb/", CommandRow::BatchGetMetaFromHcl, "/site/records/"},
        {"mtp://host.example/batch.kqb/", CommandRow::BatchRun, "mtp://host.example/batch.kqb"},
        {"mtp://startlogging.kqb/", CommandRow::BatchRun, "mtp://startlogging.kqb"},
        {"mtp://save=/site/index.htm/", CommandRow::PageSave, "/site/index.htm"},
        {"mtp://open=/site/page.HTML/", CommandRow::PageOpen, "file:///site/page.HTML"},
        {"mtp://open=https://host.example/a.asp/", CommandRow::PageOpen, "https://host.example/a.asp"},
        {"mtp://print=x.htm/", CommandRow::NotKnown, ""},
        {"mtp://x.zip/", CommandRow::NotKnown, ""},
        {"mtp://nothing/", CommandRow::NotKnown, ""},
        {"mtp.kqs/", CommandRow::CutFailed, ""},
    };
    for (const Row& r : rows) {
        const modMTP::CommandRoute route = routeCommand(QString::fromUtf8(r.command));
        EXPECT_EQ(route.row, r.row) << r.command;
        EXPECT_EQ(route.location, QString::fromUtf8(r.location)) << r.command;
        EXPECT_EQ(route.folder, QString::fromUtf8(r.folder)) << r.command;
    }
    EXPECT_FALSE(routeCommand(u"mtp://savehcl=/site/hcl.kqi/"_s).fault.isEmpty());  // no "|" before the folder
    EXPECT_EQ(routeCommand(u"mtp://loadHCL=/site/h.xml.kqi/"_s).localPath, u"/site/h.xml"_s);
}

TEST(CommandRoute, OnlyWhatWritesDeletesClearsOrSendsNeedsTheUsersWord) {
    for (const char* command :
         {"mtp://delete=all.kqs/", "mtp://save=/t/l.kqs/", "mtp://delete=all.kqi/", "mtp://save=/t/c.kqi/",
          "mtp://savehcl=/t/h|/r/.kqi/", "mtp://saverss=/t/r.htm.kqi/", "mtp://delete=all.fld/", "mtp://save=/t/b.kqb/",
          "mtp://addmacro=mtp://gotop.fld.kqb/", "mtp://cgisend=host/x.kqb/", "mtp://cgisendList=host/x.kqb/",
          "mtp://cgisendHCL=host/x.kqb/", "mtp://startlogging.kqb/", "mtp://stoplogging.kqb/",
          "mtp://restartlogging.kqb/", "mtp://save=/t/p.htm/"}) {
        const QString text = QString::fromUtf8(command);
        EXPECT_TRUE(modMTP::needsUsersWord(routeCommand(text), text)) << command;
    }
    for (const char* command :
         {"mtp://url=host/l.kqs/", "mtp://open=/t/l.kqs/", "mtp://url=host/c.kqi/", "mtp://loadHCL=host/h.kqi/",
          "mtp://loadRSS=host/r.kqi/", "mtp://gotop.fld/", "mtp://field=DC.Title&content=X.fld/", "mtp://open=/t/b.kqb/",
          "mtp://host/b.kqb/", "mtp://getMetaFromHCL=/r/.kqb/", "mtp://open=/t/p.htm/", "mtp://setdomain=NZGLS.kqb/"}) {
        const QString text = QString::fromUtf8(command);
        EXPECT_FALSE(modMTP::needsUsersWord(routeCommand(text), text)) << command;
    }
}

}  // namespace

// Where a command goes, and what its handler is given: a few rows for each rule.
#include "commands/CommandRoute.h"

#include "support/Common.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using modMTP::CommandRow;
using modMTP::routeCommand;

namespace {

TEST(CommandRoute, VerbsFindTheirRowAndLocation) {
    struct Row {
        const char* command;
        CommandRow row;
        const char* location;
        const char* folder = "";
    };
    const Row rows[] = {
        {"mtp://delete=all.kqs/", CommandRow::SchemeDeleteAll, ""},
        {"mtp://DELETE=ALL.kqi/", CommandRow::CatalogLoad, "DELETE=ALL.kqi"},  // in capitals: a list
        {"mtp://url=host/a.b.c|d.kqs/", CommandRow::SchemeLoad, "url=host/a.b.c|d.kqs"},
        {"mtp://savehcl=/site/hcl|/site/records/.kqi/", CommandRow::CatalogSaveHcl, "/site/hcl.kqi", "/site/records/"},
        {"mtp://saverss=/site/rss.htm|ignored.kqi/", CommandRow::CatalogSaveRss, "/site/rss.htm"},
        {"mtp://loadHCL=host.example/hcl.xml.kqi/", CommandRow::CatalogLoadHcl, "http://host.example/hcl.xml"},
        {"mtp://url=loadRSS=/site/rss.xml.kqi/", CommandRow::CatalogLoadRss, "file:///site/rss.xml"},
        {"mtp://field=DC.Subject&content=GoTop.fld/", CommandRow::Field, "mtp://field=DC.Subject&content=GoTop.fld/"},
        // A macro line that saves is still a macro to store.
        {"mtp://addmacro=mtp://save=/t/p.htm&fkey=F3.kqb/", CommandRow::BatchAddMacro,
         "mtp://addmacro=mtp://save=/t/p.htm&fkey=F3.kqb/"},
        {"mtp://cgisendHCL=host/cgi-bin/hcl?put.kqb/", CommandRow::BatchCgiSendHcl, "mtp://host/cgi-bin/hcl?put.kqb/"},
        {"mtp://host.example/batch.kqb/", CommandRow::BatchRun, "mtp://host.example/batch.kqb"},
        {"mtp://open=/site/page.HTML/", CommandRow::PageOpen, "file:///site/page.HTML"},
        {"mtp://print=x.htm/", CommandRow::NotKnown, ""},
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

}  // namespace

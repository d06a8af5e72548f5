// Whole journeys through the command language: a batch opens a page, fills its record and
// saves it; a batch switches the domain and the page saved afterwards carries its link lines.
#include "CommandsTestSupport.h"

#include "app/modMetaMain.h"
#include "support/ScriptedUi.h"

#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

class BatchEditsPagesTest : public commands_test::CommandsTest {
protected:
    QTemporaryDir dir;
    testing_support::KeptValues kept{&Preferences::UseLinkRel};
    QString write(const QString& name, const QByteArray& bytes) {
        return testing_support::writeBytes(dir.path() + QLatin1Char('/') + name, bytes);
    }
    static QByteArray read(const QString& path) { return testing_support::readBytes(path); }
};

TEST_F(BatchEditsPagesTest, ABatchOpensAPageFillsItsRecordAndSavesIt) {
    Preferences::UseLinkRel = u"N"_s;
    Preferences::charEncoding = u"2"_s;
    const QByteArray head = "<html>\r\n<head>\r\n<title>Fish</title>\r\n";
    const QByteArray tail = "</head>\r\n<body>Fish &amp; chips</body>\r\n</html>\r\n";
    const QString page = write(u"fish page.htm"_s, head + "<meta name=\"DC.Title\" content=\"Old\">\r\n" + tail);
    const QString batch = write(u"edit.kqb"_s, "mtp://open=" + page.toUtf8() +
                                                   "\r\n"
                                                   "mtp://field=DC.Subject&content=Fish&scheme=MeSH.fld/\r\n"
                                                   "mtp://field=DC.Creator&content=Ann.fld/\r\n"
                                                   "mtp://save=" +
                                                   page.toUtf8() + "\r\n");
    dispatch(u"mtp://open="_s + batch);

    const QByteArray saved = read(page);
    EXPECT_TRUE(saved.startsWith(head)) << saved.toStdString();
    EXPECT_TRUE(saved.endsWith(tail));
    EXPECT_TRUE(saved.contains("<META NAME=\"DC.Title\" CONTENT=\"Old\">"));
    EXPECT_TRUE(saved.contains("<META NAME=\"DC.Subject\" SCHEME=\"MeSH\" CONTENT=\"Fish\">"));
    EXPECT_TRUE(saved.contains("<META NAME=\"DC.Creator\" CONTENT=\"Ann\">"));
    EXPECT_FALSE(w->documentModified(u"Record"_s));
}

TEST_F(BatchEditsPagesTest, ADomainChosenInABatchGivesTheSavedPageItsLinkLines) {
    Preferences::UseLinkRel = u"Y"_s;
    const QString page = write(u"nz.htm"_s, "<html><head><title>x</title></head><body></body></html>");
    const QString batch = write(u"nz.kqb"_s,
                                "mtp://setdomain=NZGLS.kqb/\r\n"
                                "mtp://open=" +
                                    page.toUtf8() +
                                    "\r\n"
                                    "mtp://field=DC.Title&content=Kia ora.fld/\r\n"
                                    "mtp://save=" +
                                    page.toUtf8() + "\r\n");
    dispatch(u"mtp://open="_s + batch);
    EXPECT_EQ(modSchemas::defaultSchema, u"NZGLS"_s);
    const QByteArray saved = read(page);
    EXPECT_TRUE(saved.contains("schema.NZGLS")) << saved.toStdString();
    EXPECT_TRUE(saved.contains("schema.DC"));
    EXPECT_TRUE(saved.contains("CONTENT=\"Kia ora\""));
}

}  // namespace

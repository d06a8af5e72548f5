// Whole journeys through the command language: a batch opens a page, fills its record and
// saves it; a batch switches the domain and the page saved afterwards carries its link lines.
#include "CommandsTestSupport.h"

#include "app/modMetaMain.h"
#include "support/ScriptedUi.h"

#include <QTemporaryDir>

namespace {

class BatchEditsPagesTest : public commands_test::CommandsTest {
protected:
    QTemporaryDir dir;
    QString savedUse = Preferences::UseLinkRel;
    void TearDown() override {
        Preferences::UseLinkRel = savedUse;
        commands_test::CommandsTest::TearDown();
    }
    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = dir.path() + QLatin1Char('/') + name;
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    static QByteArray read(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

TEST_F(BatchEditsPagesTest, ABatchOpensAPageFillsItsRecordAndSavesIt) {
    Preferences::UseLinkRel = QStringLiteral("N");
    Preferences::charEncoding = QStringLiteral("2");
    const QByteArray head = "<html>\r\n<head>\r\n<title>Fish</title>\r\n";
    const QByteArray tail = "</head>\r\n<body>Fish &amp; chips</body>\r\n</html>\r\n";
    const QString page = write(QStringLiteral("fish page.htm"), head + "<meta name=\"DC.Title\" content=\"Old\">\r\n" + tail);
    const QString batch = write(QStringLiteral("edit.kqb"),
                                "mtp://open=" + page.toUtf8() + "\r\n"
                                "mtp://field=DC.Subject&content=Fish&scheme=MeSH.fld/\r\n"
                                "mtp://field=DC.Creator&content=Ann.fld/\r\n"
                                "mtp://save=" + page.toUtf8() + "\r\n");
    dispatch(QStringLiteral("mtp://open=") + batch);

    const QByteArray saved = read(page);
    EXPECT_TRUE(saved.startsWith(head)) << saved.toStdString();
    EXPECT_TRUE(saved.endsWith(tail));
    EXPECT_TRUE(saved.contains("<META NAME=\"DC.Title\" CONTENT=\"Old\">"));
    EXPECT_TRUE(saved.contains("NAME=\"DC.Subject\""));
    EXPECT_TRUE(saved.contains("SCHEME=\"MeSH\""));
    EXPECT_TRUE(saved.contains("CONTENT=\"Ann\""));
    EXPECT_FALSE(w->documentModified(QStringLiteral("Record")));
}

TEST_F(BatchEditsPagesTest, ADomainChosenInABatchGivesTheSavedPageItsLinkLines) {
    Preferences::UseLinkRel = QStringLiteral("Y");
    const QString page = write(QStringLiteral("nz.htm"), "<html><head><title>x</title></head><body></body></html>");
    const QString batch = write(QStringLiteral("nz.kqb"),
                                "mtp://setdomain=NZGLS.kqb/\r\n"
                                "mtp://open=" + page.toUtf8() + "\r\n"
                                "mtp://field=DC.Title&content=Kia ora.fld/\r\n"
                                "mtp://save=" + page.toUtf8() + "\r\n");
    dispatch(QStringLiteral("mtp://open=") + batch);
    EXPECT_EQ(modSchemas::defaultSchema, QStringLiteral("NZGLS"));
    const QByteArray saved = read(page);
    EXPECT_TRUE(saved.contains("schema.NZGLS")) << saved.toStdString();
    EXPECT_TRUE(saved.contains("schema.DC"));
    EXPECT_TRUE(saved.contains("CONTENT=\"Kia ora\""));
}

}  // namespace

#include "platform/RegistryStore.h"
#include "support/ScriptedUi.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

using platform::RegistryRoot;
using platform::RegistryStore;

namespace {

const RegistryRoot HKCU = RegistryRoot::CurrentUser;
const QString kKey = u"Software\\Orvane Consulting\\Quorvantil\\Preferences"_s;

using testing_support::readBytes;
using testing_support::writeBytes;

QStringList names(const std::optional<QList<platform::RegistryValue>>& values) {
    QStringList out;
    for (const auto& v : values.value_or(QList<platform::RegistryValue>())) out << v.name;
    return out;
}

class RegistryStoreTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    // Blanks, dots and non-ASCII in the folder names, as users' folders have them.
    QString file = dir.path() + u"/My Settings.v2/Ünïcode/registry.reg"_s;
    QList<QString> notices;
    void SetUp() override {
        platform::setStoreNoticeHandler([this](const QString& m) { notices << m; });
    }
    void TearDown() override {
        platform::setStoreNoticeHandler([](const QString&) {});
    }
};

TEST_F(RegistryStoreTest, TwoStoresOnOneFileSeeEachOthersWritesAtOnce) {
    RegistryStore a(file), b(file);
    ASSERT_TRUE(a.createKey(HKCU, kKey));
    ASSERT_TRUE(a.setValue(HKCU, kKey, u"CompleteMTP"_s, u"Y"_s));
    // b has read the file before; a's later write must still be seen.
    ASSERT_TRUE(b.keyExists(HKCU, kKey));
    ASSERT_TRUE(b.setValue(HKCU, kKey, u"Home"_s, u"http://example.org/"_s));
    ASSERT_TRUE(a.setValue(HKCU, kKey, u"fixMeta"_s, u"N"_s));

    const auto mtp = b.queryValue(HKCU, kKey, u"CompleteMtp"_s);
    ASSERT_TRUE(mtp.has_value());
    EXPECT_EQ(mtp->data, u"Y"_s);
    EXPECT_EQ(mtp->name, u"CompleteMTP"_s);  // the case first written is kept
    EXPECT_EQ(a.queryValue(HKCU, kKey, u"HOME"_s)->data, u"http://example.org/"_s);
    EXPECT_EQ(names(b.values(HKCU, kKey)), (QStringList{u"CompleteMTP"_s, u"Home"_s, u"fixMeta"_s}));
    EXPECT_TRUE(notices.isEmpty());
}

TEST_F(RegistryStoreTest, OverwriteKeepsPositionAndFirstCaseMissingDiffersFromEmpty) {
    RegistryStore s(file);
    ASSERT_TRUE(s.createKey(HKCU, kKey));
    s.setValue(HKCU, kKey, u"A"_s, u"1"_s);
    s.setValue(HKCU, kKey, u"B"_s, u"2"_s);
    s.setValue(HKCU, kKey, u"a"_s, QString());
    EXPECT_EQ(names(s.values(HKCU, kKey)), (QStringList{u"A"_s, u"B"_s}));
    const auto empty = s.queryValue(HKCU, kKey, u"A"_s);
    ASSERT_TRUE(empty.has_value());
    EXPECT_TRUE(empty->data.isEmpty());
    EXPECT_FALSE(s.queryValue(HKCU, kKey, u"C"_s).has_value());
    EXPECT_FALSE(s.queryValue(HKCU, kKey + u"\\Nope"_s, u"A"_s).has_value());
    EXPECT_FALSE(s.setValue(HKCU, kKey + u"\\Nope"_s, u"A"_s, u"x"_s));
}

TEST_F(RegistryStoreTest, TextSurvivesTheFileWhateverItHolds) {
    const QString tricky = u"say \"hi\" C:\\path\\ [x] = @ ; é€ \r\nnext line"_s;
    {
        RegistryStore s(file);
        ASSERT_TRUE(s.createKey(HKCU, kKey + u"\\Mäcros"_s));
        ASSERT_TRUE(s.setValue(HKCU, kKey + u"\\Mäcros"_s, u"F1 \"x\""_s, tricky));
        ASSERT_TRUE(s.setValue(HKCU, kKey + u"\\Mäcros"_s, QString(), u"default"_s));
    }
    RegistryStore fresh(file);
    EXPECT_EQ(fresh.queryValue(HKCU, kKey + u"\\MÄCROS"_s, u"f1 \"X\""_s)->data, tricky);
    EXPECT_EQ(fresh.queryValue(HKCU, kKey + u"\\Mäcros"_s, QString())->data, u"default"_s);
    const QByteArray bytes = readBytes(file);
    EXPECT_TRUE(bytes.startsWith("REGEDIT4\n"));
    EXPECT_TRUE(bytes.contains("@=\"default\""));
    EXPECT_EQ(QFileInfo(file).permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther), 0);
}

TEST_F(RegistryStoreTest, KeysAreCreatedWithTheirParentsAndDeletedOnlyWithoutSubKeys) {
    RegistryStore s(file);
    const QString macros = kKey + u"\\Macros"_s;
    ASSERT_TRUE(s.createKey(HKCU, macros));
    EXPECT_TRUE(s.keyExists(HKCU, kKey));
    EXPECT_EQ(s.subKeys(HKCU, kKey), QStringList{u"Macros"_s});
    EXPECT_FALSE(s.deleteKey(HKCU, kKey));
    EXPECT_TRUE(s.keyExists(HKCU, kKey));
    EXPECT_TRUE(s.deleteKey(HKCU, macros));
    EXPECT_TRUE(s.deleteKey(HKCU, kKey));
    EXPECT_FALSE(s.keyExists(HKCU, kKey));
    EXPECT_FALSE(s.deleteKey(HKCU, kKey));
    // The two roots are apart.
    ASSERT_TRUE(s.createKey(RegistryRoot::ClassesRoot, u".kqi"_s));
    EXPECT_FALSE(s.keyExists(HKCU, u".kqi"_s));
}

TEST_F(RegistryStoreTest, ValuesOfOtherTypesAreKeptAsWritten) {
    writeBytes(file,
               "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\X]\r\n\"Count\"=dword:00000002\r\n"
               "\"Name\"=\"Ann\"\r\n");
    RegistryStore s(file);
    const auto values = s.values(HKCU, u"Software\\X"_s);
    ASSERT_TRUE(values.has_value());
    ASSERT_EQ(values->size(), 2);
    EXPECT_FALSE(values->at(0).isText);
    ASSERT_TRUE(s.setValue(HKCU, u"Software\\X"_s, u"Name"_s, u"Bo"_s));
    EXPECT_TRUE(readBytes(file).contains("\"Count\"=dword:00000002\n"));
}

TEST_F(RegistryStoreTest, DamagedFileIsKeptAsideAndFreshSettingsStart) {
    const QByteArray damaged = "this is not a settings file\n\"x\"=\"y\"\n";
    writeBytes(file, damaged);
    RegistryStore s(file);
    EXPECT_FALSE(s.queryValue(HKCU, kKey, u"Home"_s).has_value());
    ASSERT_EQ(notices.size(), 1);
    EXPECT_TRUE(notices.first().contains(u"could not be read"_s));

    const QStringList aside = QFileInfo(file).dir().entryList({u"registry.reg.damaged-*"_s});
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(readBytes(QFileInfo(file).dir().filePath(aside.first())), damaged);
    ASSERT_TRUE(s.createKey(HKCU, kKey));
    ASSERT_TRUE(s.setValue(HKCU, kKey, u"Home"_s, u"h"_s));
    EXPECT_EQ(RegistryStore(file).queryValue(HKCU, kKey, u"Home"_s)->data, u"h"_s);
}

TEST_F(RegistryStoreTest, UnclosedQuoteCountsAsDamage) {
    writeBytes(file, "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\X]\n\"Name\"=\"Ann\n");
    RegistryStore s(file);
    EXPECT_FALSE(s.keyExists(HKCU, u"Software\\X"_s));
    EXPECT_EQ(notices.size(), 1);
}

TEST_F(RegistryStoreTest, FolderThatCannotBeCreatedFailsWithOneNotice) {
    const QString blocker = dir.path() + u"/plainfile"_s;
    writeBytes(blocker, "x");
    RegistryStore s(blocker + u"/sub/registry.reg"_s);
    EXPECT_FALSE(s.createKey(HKCU, kKey));
    EXPECT_FALSE(s.setValue(HKCU, kKey, u"a"_s, u"b"_s));
    EXPECT_FALSE(s.queryValue(HKCU, kKey, u"a"_s).has_value());
    EXPECT_FALSE(s.lastError().isEmpty());
    EXPECT_EQ(notices.size(), 1);
}

// Two running copies of the program writing at the same time must not lose values.
TEST_F(RegistryStoreTest, ConcurrentProcessesNeverLoseEachOthersValues) {
    ASSERT_TRUE(RegistryStore(file).createKey(HKCU, kKey));
    constexpr int kPerProcess = 60;
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        children[c] = fork();
        ASSERT_GE(children[c], 0);
        if (children[c] == 0) {
            RegistryStore s(file);
            bool ok = true;
            for (int i = 0; i < kPerProcess; ++i)
                ok = s.setValue(HKCU, kKey, u"p%1-%2"_s.arg(c).arg(i), QString::number(i)) && ok;
            _exit(ok ? 0 : 1);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const auto values = RegistryStore(file).values(HKCU, kKey);
    ASSERT_TRUE(values.has_value());
    EXPECT_EQ(values->size(), 2 * kPerProcess);
}

}  // namespace

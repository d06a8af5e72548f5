#include "platform/RegistryStore.h"
#include "support/Common.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using platform::RegistryRoot;
using platform::RegistryStore;
using testing_support::readBytes;
using testing_support::writeBytes;

namespace {

const RegistryRoot HKCU = RegistryRoot::CurrentUser;
const QString kKey = u"Software\\Orvane Consulting\\Quorvantil\\Preferences"_s;

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
    QStringList notices;
    void SetUp() override {
        platform::setStoreNoticeHandler([this](const QString& m) { notices << m; });
    }
    void TearDown() override {
        platform::setStoreNoticeHandler([](const QString&) {});
    }
};

TEST_F(RegistryStoreTest, TwoStoresOnOneFileSeeEachOthersWritesAndNamesKeepTheirFirstCase) {
    RegistryStore a(file), b(file);
    ASSERT_TRUE(a.createKey(HKCU, kKey));
    ASSERT_TRUE(a.setValue(HKCU, kKey, u"CompleteMTP"_s, u"Y"_s));
    ASSERT_TRUE(b.setValue(HKCU, kKey, u"Home"_s, u"http://example.org/"_s));  // b read the file before a's next write
    ASSERT_TRUE(a.setValue(HKCU, kKey, u"fixMeta"_s, u"N"_s));
    ASSERT_TRUE(a.setValue(HKCU, kKey, u"completemtp"_s, QString()));  // overwritten in place
    EXPECT_EQ(names(b.values(HKCU, kKey)), (QStringList{"CompleteMTP", "Home", "fixMeta"}));
    EXPECT_EQ(a.queryValue(HKCU, kKey, u"HOME"_s)->data, u"http://example.org/"_s);
    const auto empty = b.queryValue(HKCU, kKey, u"CompleteMtp"_s);  // empty is not missing
    ASSERT_TRUE(empty.has_value());
    EXPECT_TRUE(empty->data.isEmpty());
    EXPECT_FALSE(b.queryValue(HKCU, kKey, u"C"_s).has_value());
    EXPECT_FALSE(b.setValue(HKCU, kKey + u"\\Nope"_s, u"A"_s, u"x"_s));
    EXPECT_TRUE(notices.isEmpty());
    // A section goes with its values; the file-type keys live under a root of their own.
    ASSERT_TRUE(a.createKey(RegistryRoot::ClassesRoot, kKey));
    EXPECT_TRUE(b.deleteKey(HKCU, kKey));
    EXPECT_FALSE(a.values(HKCU, kKey).has_value());
    EXPECT_TRUE(b.values(RegistryRoot::ClassesRoot, kKey).has_value());
}

TEST_F(RegistryStoreTest, TextSurvivesTheFileWhateverItHoldsAndOtherTypesAreKept) {
    const QString tricky = u"say \"hi\" C:\\path\\ [x] = @ ; é€ \r\nnext line"_s;
    const QString macros = u"Software\\X\\Mäcros"_s;
    writeBytes(file, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\X]\r\n\"Count\"=dword:00000002\r\n");
    {
        RegistryStore s(file);
        ASSERT_TRUE(s.createKey(HKCU, macros));
        ASSERT_TRUE(s.setValue(HKCU, macros, u"F1 \"x\""_s, tricky));
        ASSERT_TRUE(s.setValue(HKCU, macros, QString(), u"default"_s));
    }
    RegistryStore fresh(file);
    EXPECT_EQ(fresh.queryValue(HKCU, u"Software\\X\\MÄCROS"_s, u"f1 \"X\""_s)->data, tricky);
    EXPECT_FALSE(fresh.values(HKCU, u"Software\\X"_s)->at(0).isText);
    const QByteArray bytes = readBytes(file);
    EXPECT_TRUE(bytes.startsWith("REGEDIT4\n"));
    EXPECT_TRUE(bytes.contains("\"Count\"=dword:00000002\n"));
    EXPECT_TRUE(bytes.contains("@=\"default\""));
    EXPECT_EQ(QFileInfo(file).permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther), 0);
}

TEST_F(RegistryStoreTest, DamagedFileIsKeptAsideWithOneNoticeAndFreshSettingsStart) {
    for (const QByteArray& damaged : {QByteArray("this is not a settings file\n\"x\"=\"y\"\n"),
                                      QByteArray("REGEDIT4\n[HKEY_CURRENT_USER\\Software\\X]\n\"Name\"=\"Ann\n")}) {
        QDir(QFileInfo(file).path()).removeRecursively();
        notices.clear();
        writeBytes(file, damaged);
        RegistryStore s(file);
        EXPECT_FALSE(s.keyExists(HKCU, u"Software\\X"_s));
        ASSERT_EQ(notices.size(), 1);
        EXPECT_TRUE(notices.first().contains(u"could not be read"_s));
        const QStringList aside = QFileInfo(file).dir().entryList({u"registry.reg.damaged-*"_s});
        ASSERT_EQ(aside.size(), 1);
        EXPECT_EQ(readBytes(QFileInfo(file).dir().filePath(aside.first())), damaged);
        ASSERT_TRUE(s.createKey(HKCU, kKey) && s.setValue(HKCU, kKey, u"Home"_s, u"h"_s));
        EXPECT_EQ(RegistryStore(file).queryValue(HKCU, kKey, u"Home"_s)->data, u"h"_s);
    }
    // A folder that cannot be made: every call fails, with one notice.
    notices.clear();
    RegistryStore blocked(file + u"/sub/registry.reg"_s);
    EXPECT_FALSE(blocked.createKey(HKCU, kKey));
    EXPECT_FALSE(blocked.setValue(HKCU, kKey, u"a"_s, u"b"_s));
    EXPECT_FALSE(blocked.lastError().isEmpty());
    EXPECT_EQ(notices.size(), 1);
}

// Two running copies of the program writing at the same time must not lose values.
TEST_F(RegistryStoreTest, ConcurrentProcessesNeverLoseEachOthersValues) {
    ASSERT_TRUE(RegistryStore(file).createKey(HKCU, kKey));
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        children[c] = fork();
        ASSERT_GE(children[c], 0);
        if (children[c] == 0) {
            RegistryStore s(file);
            bool ok = true;
            for (int i = 0; i < 60; ++i) ok = s.setValue(HKCU, kKey, u"p%1-%2"_s.arg(c).arg(i), u"v"_s) && ok;
            _exit(ok ? 0 : 1);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(names(RegistryStore(file).values(HKCU, kKey)).size(), 120);
}

}  // namespace

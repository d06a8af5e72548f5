#include "platform/RegistryStore.h"
#include "support/ScriptedUi.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

using platform::RegistryRoot;
using platform::RegistryStore;

namespace {

const RegistryRoot HKCU = RegistryRoot::CurrentUser;
const QString kKey = QStringLiteral("Software\\Orvane Consulting\\Quorvantil\\Preferences");

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QStringList names(const std::optional<QList<platform::RegistryValue>>& values) {
    QStringList out;
    if (values) {
        for (const auto& v : *values) out << v.name;
    }
    return out;
}

class RegistryStoreTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    // Blanks, dots and non-ASCII in the folder names, as users' folders have them.
    QString file = dir.path() + QStringLiteral("/My Settings.v2/Ünïcode/registry.reg");
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
    ASSERT_TRUE(a.setValue(HKCU, kKey, QStringLiteral("CompleteMTP"), QStringLiteral("Y")));
    // b has read the file before; a's later write must still be seen.
    ASSERT_TRUE(b.keyExists(HKCU, kKey));
    ASSERT_TRUE(b.setValue(HKCU, kKey, QStringLiteral("Home"), QStringLiteral("http://example.org/")));
    ASSERT_TRUE(a.setValue(HKCU, kKey, QStringLiteral("fixMeta"), QStringLiteral("N")));

    const auto mtp = b.queryValue(HKCU, kKey, QStringLiteral("CompleteMtp"));
    ASSERT_TRUE(mtp.has_value());
    EXPECT_EQ(mtp->data, QStringLiteral("Y"));
    EXPECT_EQ(mtp->name, QStringLiteral("CompleteMTP"));  // the case first written is kept
    EXPECT_EQ(a.queryValue(HKCU, kKey, QStringLiteral("HOME"))->data, QStringLiteral("http://example.org/"));
    EXPECT_EQ(names(b.values(HKCU, kKey)),
              (QStringList{QStringLiteral("CompleteMTP"), QStringLiteral("Home"), QStringLiteral("fixMeta")}));
    EXPECT_TRUE(notices.isEmpty());
}

TEST_F(RegistryStoreTest, OverwriteKeepsPositionAndFirstCaseMissingDiffersFromEmpty) {
    RegistryStore s(file);
    ASSERT_TRUE(s.createKey(HKCU, kKey));
    s.setValue(HKCU, kKey, QStringLiteral("A"), QStringLiteral("1"));
    s.setValue(HKCU, kKey, QStringLiteral("B"), QStringLiteral("2"));
    s.setValue(HKCU, kKey, QStringLiteral("a"), QString());
    EXPECT_EQ(names(s.values(HKCU, kKey)), (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
    const auto empty = s.queryValue(HKCU, kKey, QStringLiteral("A"));
    ASSERT_TRUE(empty.has_value());
    EXPECT_TRUE(empty->data.isEmpty());
    EXPECT_FALSE(s.queryValue(HKCU, kKey, QStringLiteral("C")).has_value());
    EXPECT_FALSE(s.queryValue(HKCU, kKey + QStringLiteral("\\Nope"), QStringLiteral("A")).has_value());
    EXPECT_FALSE(s.setValue(HKCU, kKey + QStringLiteral("\\Nope"), QStringLiteral("A"), QStringLiteral("x")));
}

TEST_F(RegistryStoreTest, TextSurvivesTheFileWhateverItHolds) {
    const QString tricky = QStringLiteral("say \"hi\" C:\\path\\ [x] = @ ; é€ \r\nnext line");
    {
        RegistryStore s(file);
        ASSERT_TRUE(s.createKey(HKCU, kKey + QStringLiteral("\\Mäcros")));
        ASSERT_TRUE(s.setValue(HKCU, kKey + QStringLiteral("\\Mäcros"), QStringLiteral("F1 \"x\""), tricky));
        ASSERT_TRUE(s.setValue(HKCU, kKey + QStringLiteral("\\Mäcros"), QString(), QStringLiteral("default")));
    }
    RegistryStore fresh(file);
    EXPECT_EQ(fresh.queryValue(HKCU, kKey + QStringLiteral("\\MÄCROS"), QStringLiteral("f1 \"X\""))->data, tricky);
    EXPECT_EQ(fresh.queryValue(HKCU, kKey + QStringLiteral("\\Mäcros"), QString())->data, QStringLiteral("default"));
    const QByteArray bytes = readAll(file);
    EXPECT_TRUE(bytes.startsWith("REGEDIT4\n"));
    EXPECT_TRUE(bytes.contains("@=\"default\""));
    EXPECT_EQ(QFileInfo(file).permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther), 0);
}

TEST_F(RegistryStoreTest, KeysAreCreatedWithTheirParentsAndDeletedOnlyWithoutSubKeys) {
    RegistryStore s(file);
    const QString macros = kKey + QStringLiteral("\\Macros");
    ASSERT_TRUE(s.createKey(HKCU, macros));
    EXPECT_TRUE(s.keyExists(HKCU, kKey));
    EXPECT_EQ(s.subKeys(HKCU, kKey), QStringList{QStringLiteral("Macros")});
    EXPECT_FALSE(s.deleteKey(HKCU, kKey));
    EXPECT_TRUE(s.keyExists(HKCU, kKey));
    EXPECT_TRUE(s.deleteKey(HKCU, macros));
    EXPECT_TRUE(s.deleteKey(HKCU, kKey));
    EXPECT_FALSE(s.keyExists(HKCU, kKey));
    EXPECT_FALSE(s.deleteKey(HKCU, kKey));
    // The two roots are apart.
    ASSERT_TRUE(s.createKey(RegistryRoot::ClassesRoot, QStringLiteral(".kqi")));
    EXPECT_FALSE(s.keyExists(HKCU, QStringLiteral(".kqi")));
}

TEST_F(RegistryStoreTest, ValuesOfOtherTypesAreKeptAsWritten) {
    writeAll(file, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\X]\r\n\"Count\"=dword:00000002\r\n"
                   "\"Name\"=\"Ann\"\r\n");
    RegistryStore s(file);
    const auto values = s.values(HKCU, QStringLiteral("Software\\X"));
    ASSERT_TRUE(values.has_value());
    ASSERT_EQ(values->size(), 2);
    EXPECT_FALSE(values->at(0).isText);
    ASSERT_TRUE(s.setValue(HKCU, QStringLiteral("Software\\X"), QStringLiteral("Name"), QStringLiteral("Bo")));
    EXPECT_TRUE(readAll(file).contains("\"Count\"=dword:00000002\n"));
}

TEST_F(RegistryStoreTest, DamagedFileIsKeptAsideAndFreshSettingsStart) {
    const QByteArray damaged = "this is not a settings file\n\"x\"=\"y\"\n";
    writeAll(file, damaged);
    RegistryStore s(file);
    EXPECT_FALSE(s.queryValue(HKCU, kKey, QStringLiteral("Home")).has_value());
    ASSERT_EQ(notices.size(), 1);
    EXPECT_TRUE(notices.first().contains(QStringLiteral("could not be read")));

    const QStringList aside = QFileInfo(file).dir().entryList({QStringLiteral("registry.reg.damaged-*")});
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(readAll(QFileInfo(file).dir().filePath(aside.first())), damaged);
    ASSERT_TRUE(s.createKey(HKCU, kKey));
    ASSERT_TRUE(s.setValue(HKCU, kKey, QStringLiteral("Home"), QStringLiteral("h")));
    EXPECT_EQ(RegistryStore(file).queryValue(HKCU, kKey, QStringLiteral("Home"))->data, QStringLiteral("h"));
}

TEST_F(RegistryStoreTest, UnclosedQuoteCountsAsDamage) {
    writeAll(file, "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\X]\n\"Name\"=\"Ann\n");
    RegistryStore s(file);
    EXPECT_FALSE(s.keyExists(HKCU, QStringLiteral("Software\\X")));
    EXPECT_EQ(notices.size(), 1);
}

TEST_F(RegistryStoreTest, FolderThatCannotBeCreatedFailsWithOneNotice) {
    const QString blocker = dir.path() + QStringLiteral("/plainfile");
    writeAll(blocker, "x");
    RegistryStore s(blocker + QStringLiteral("/sub/registry.reg"));
    EXPECT_FALSE(s.createKey(HKCU, kKey));
    EXPECT_FALSE(s.setValue(HKCU, kKey, QStringLiteral("a"), QStringLiteral("b")));
    EXPECT_FALSE(s.queryValue(HKCU, kKey, QStringLiteral("a")).has_value());
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
                ok = s.setValue(HKCU, kKey, QStringLiteral("p%1-%2").arg(c).arg(i), QString::number(i)) && ok;
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

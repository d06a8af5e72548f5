// The settings store gets over what a killed or runaway program left behind.
#include "platform/RegistryStore.h"
#include "support/Common.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using platform::RegistryRoot;
using platform::RegistryStore;

namespace {

const QString kKey = u"Software\\Orvane Consulting\\Quorvantil\\Preferences"_s;

class StoreRecoveryTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString file = dir.filePath(u"registry.reg"_s);
    QStringList notices;
    void SetUp() override { platform::setStoreNoticeHandler([this](const QString& m) { notices << m; }); }
    void TearDown() override { platform::setStoreNoticeHandler([](const QString&) {}); }
};

// A program killed while it held the lock leaves an empty lock file: nobody owns it.
TEST_F(StoreRecoveryTest, AnEmptyLockLeftBehindIsTakenOver) {
    QFile lock(file + u".lock"_s);
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.setFileTime(QDateTime::currentDateTime().addSecs(-5), QFileDevice::FileModificationTime);
    lock.close();
    RegistryStore store(file);
    ASSERT_TRUE(store.createKey(RegistryRoot::CurrentUser, kKey)) << store.lastError();
    ASSERT_TRUE(store.setValue(RegistryRoot::CurrentUser, kKey, u"Home"_s, u"h"_s));
    EXPECT_EQ(RegistryStore(file).queryValue(RegistryRoot::CurrentUser, kKey, u"Home"_s)->data, u"h"_s);
}

TEST_F(StoreRecoveryTest, ASettingsFileOver64MegabytesIsSetAsideAndFreshSettingsStart) {
    {
        QFile big(file);
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        const QByteArray line = "REGEDIT4\n" + QByteArray(1024 * 1024 - 9, ';');
        for (int i = 0; i < 65; ++i) ASSERT_EQ(big.write(line), line.size());
    }
    RegistryStore store(file);
    ASSERT_TRUE(store.createKey(RegistryRoot::CurrentUser, kKey));
    ASSERT_EQ(notices.size(), 1);
    EXPECT_TRUE(notices.first().contains(u"64 MB"_s));
    EXPECT_LT(QFile(file).size(), 1024);
    EXPECT_EQ(QDir(dir.path()).entryList({u"registry.reg.damaged-*"_s}).size(), 1);
}

// While the user reads that the settings were set aside, a second copy of the program
// started meanwhile keeps its settings: the lock is no longer held.
TEST_F(StoreRecoveryTest, TheDamagedSettingsNoticeComesAfterTheLockIsReleased) {
    testing_support::writeBytes(file, "not a settings file");
    bool secondCopyWrote = false;
    platform::setStoreNoticeHandler([&](const QString& m) {
        notices << m;
        RegistryStore second(file);
        secondCopyWrote = second.createKey(RegistryRoot::CurrentUser, kKey) &&
                          second.setValue(RegistryRoot::CurrentUser, kKey, u"Home"_s, u"second"_s);
    });
    RegistryStore first(file);
    ASSERT_TRUE(first.createKey(RegistryRoot::CurrentUser, kKey)) << first.lastError();
    ASSERT_EQ(notices.size(), 1);
    EXPECT_TRUE(notices.first().contains(u"damaged-"_s));
    EXPECT_TRUE(secondCopyWrote);
    EXPECT_EQ(RegistryStore(file).queryValue(RegistryRoot::CurrentUser, kKey, u"Home"_s)->data, u"second"_s);
}

}  // namespace

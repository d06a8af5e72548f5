#pragma once
#include "app/Preferences.h"
#include "commands/frmWaitProcess.h"
#include "commands/modMTP.h"
#include "commands/modMacros.h"
#include "domains/modSchemas.h"
#include "platform/Folders.h"
#include "platform/ListView.h"
#include "platform/MsgBox.h"
#include "support/Common.h"
#include "support/ScriptedUi.h"
#include "support/TestWindow.h"

#include <gtest/gtest.h>

namespace commands_test {

// A loaded main window on a private program folder; the command language's program-wide
// state is put back after each test.
class CommandsTest : public ::testing::Test {
protected:
    testing_support::TestWindow w;
    testing_support::ScriptedMsgBoxes boxes;

    void SetUp() override {
        reset();
        QDir().mkpath(home() + QStringLiteral("/cache/schema"));
        QDir().mkpath(home() + QStringLiteral("/cache/indexes"));
    }
    void TearDown() override {
        if (frmWaitProcess* wait = frmWaitProcess::loadedInstance()) {
            wait->pendingCommand.clear();
            wait->Unload();
        }
        reset();
    }
    static void reset() {
        modMTP::loggingOn = modMTP::macroRunning = modMTP::cancelRequested = false;
        modMacros::saveRecordMacro.clear();
        modMacros::repositorySchemes.clear();
    }
    static QString home() { return platform::programDataFolder(); }

    // Runs a command through the dispatcher.
    static void dispatch(const QString& text, modMTP::CommandOrigin origin = modMTP::CommandOrigin::Program) {
        QString command = text;
        modMTP::mtpTransaction(command, origin);
    }
    // Runs a command through the entry, as menus, keys and links do.
    static void run(const QString& text, modMTP::CommandOrigin origin = modMTP::CommandOrigin::Program) {
        QString command = text;
        modMTP::runMtpCommand(command, origin);
    }
    void addLine(const QString& name, const QString& content, const QString& lang = {}, const QString& scheme = {}) {
        w->addRecordLine({name, content, lang, scheme});
    }
    void select(int position) { w->MetaPanel->setSelectedItem(w->MetaPanel->Item(position)); }
    int selectedPosition() const {
        const platform::ListItem* item = w->MetaPanel->SelectedItem();
        return item ? item->Index() : 0;
    }
    MetadataRecord record() const { return w->recordLines(); }
    // A file of the program folder, written as raw bytes; returns its path.
    QString writeFile(const QString& name, const QByteArray& bytes) const {
        return testing_support::writeBytes(home() + QLatin1Char('/') + name, bytes);
    }
    // The command log; empty when there is none.
    static QByteArray logBytes() {
        return QFile::exists(modMTP::commandLogPath()) ? testing_support::readBytes(modMTP::commandLogPath()) : QByteArray();
    }

private:
    testing_support::KeptValues kept_{&modSchemas::defaultSchema, &Preferences::charEncoding};
};

inline MetadataLine lineOf(const char* name, const char* content, const char* lang = "", const char* scheme = "") {
    return {QString::fromUtf8(name), QString::fromUtf8(content), QString::fromUtf8(lang), QString::fromUtf8(scheme)};
}

}  // namespace commands_test

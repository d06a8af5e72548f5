#pragma once
#include "gui/commands/frmSourceHTML.h"
#include "gui/commands/frmWaitProcess.h"
#include "core/commands/modMTP.h"
#include "core/commands/modMacros.h"
#include "core/record/Record.h"
#include "core/domains/modSchemas.h"
#include "gui/record/MetaPanelView.h"
#include "platform/Folders.h"
#include "platform/MsgBox.h"
#include "support/Common.h"
#include "support/ScriptedUi.h"
#include "support/TestWindow.h"

#include <gtest/gtest.h>

namespace commands_test {

// A loaded main window; the command language's program-wide state is put back after each test.
class CommandsTest : public ::testing::Test {
protected:
    testing_support::TestWindow w;
    testing_support::ScriptedMsgBoxes boxes;

    void SetUp() override {
        reset();
        for (const char* folder : {"/cache/schema", "/cache/indexes"}) QDir().mkpath(home() + QLatin1String(folder));
    }
    void TearDown() override {
        if (frmWaitProcess* wait = frmWaitProcess::loadedInstance(w.context)) {
            wait->storeCommand(QString(), CommandOrigin::Program);  // nothing left to run
            wait->Unload();
        }
        reset();
    }
    void reset() {
        w.context.commands.loggingOn = w.context.commands.macroRunning = w.context.commands.cancelRequested = false;
        w.context.macros = MacroState();
        w.context.commands.showEditorAfterRun = false;
        if (frmSourceHTML* editor = frmSourceHTML::loadedInstance(w.context)) editor->Unload();
    }
    static QString home() { return platform::programDataFolder(); }

    // Runs a command through the dispatcher, or through the entry as menus, keys and links do.
    void dispatch(QString command, modMTP::CommandOrigin origin = modMTP::CommandOrigin::Program) {
        modMTP::mtpTransaction(w.context, command, origin);
    }
    void run(QString command, modMTP::CommandOrigin origin = modMTP::CommandOrigin::Program) {
        modMTP::runMtpCommand(w.context, command, origin);
    }
    void select(int position) { w.context.record.selectOnly(w.context.record.idAt(position)); }
    int selectedPosition() const { return w.context.record.positionOf(w.context.record.selectedLine()); }
    MetadataRecord record() const { return w.context.record.lines(); }
    // A file of the program folder, written as raw bytes; returns its path.
    QString writeFile(const QString& name, const QByteArray& bytes) const {
        return testing_support::writeBytes(home() + QLatin1Char('/') + name, bytes);
    }
    // The command log; empty when there is none.
    static QByteArray logBytes() {
        const QString log = modMTP::commandLogPath();
        return QFile::exists(log) ? testing_support::readBytes(log) : QByteArray();
    }
};

inline MetadataLine lineOf(const char* name, const char* content, const char* lang = "", const char* scheme = "") {
    return {QString::fromUtf8(name), QString::fromUtf8(content), QString::fromUtf8(lang), QString::fromUtf8(scheme)};
}

}  // namespace commands_test

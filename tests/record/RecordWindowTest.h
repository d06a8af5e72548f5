#pragma once
#include "core/record/Record.h"
#include "core/domains/modSchemas.h"
#include "gui/record/MetaPanelView.h"
#include "platform/widgets/StatusBar.h"
#include "platform/WidgetInput.h"
#include "support/CommandRecorder.h"
#include "support/Controls.h"
#include "support/TestWindow.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

using namespace Qt::StringLiterals;
using testing_support::child;
using testing_support::press;
using testing_support::typeOver;

inline const QString kRecordQuestion = u"Save the metadata edits in the metapanel first?"_s;
inline const QString kListQuestion = u"Save the list changes in the Tree View first?"_s;

// A main window whose message boxes and dialogs are scripted, with the record panel's lines by number.
class RecordWindowTest : public ::testing::Test {
protected:
    testing_support::TestWindow w;
    testing_support::ScriptedMsgBoxes boxes;
    testing_support::ScriptedModals modals;
    QTemporaryDir dir;

    QString write(const QString& name, const QByteArray& bytes) {
        return testing_support::writeBytes(dir.filePath(name), bytes);
    }
    // The next dialog shown, which must be the one of this name; the step must close it.
    void then(const QString& name, const std::function<void(QDialog&)>& step) {
        modals.then([name, step](QDialog& dialog) {
            if (dialog.objectName() != name) {
                ADD_FAILURE() << "expected " << name << ", shown " << dialog.objectName();
                return dialog.reject();
            }
            step(dialog);
        });
    }
    Record::LineId line(int i) const { return w.context.record.idAt(i); }
    QString content(int i, int column = Record::Content) const { return w.context.record.cell(line(i), column); }
    void add(const QString& name, const QString& content = {}, const QString& lang = {}, const QString& scheme = {}) {
        w.context.record.append({name, content, lang, scheme});
    }
    void select(int i) { w.context.record.selectOnly(line(i)); }
    // Line i, shown in the edit panel.
    void show(int i) { w.openLine(i); }
    // One more line, shown in the edit panel.
    void edit(const QString& name, const QString& content = {}, const QString& lang = {}, const QString& scheme = {}) {
        add(name, content, lang, scheme);
        show(w.context.record.count());
    }
    // The record marked as edited the way a user does it: a character typed into the content
    // of line i (the first when none is given) and taken back.
    void editAndUndo(int i = 1) {
        show(i);
        QLineEdit* box = w.find<QLineEdit>(u"editNrmlContent"_s);
        box->end(false);
        widget_input::type(box, u"x"_s);
        widget_input::key(box, Qt::Key_Backspace);
    }
    // The record written to a page file by the command a user types into the address box;
    // true when the record is no longer marked as edited afterwards.
    bool saveTo(const QString& path) {
        w.enter(u"mtp://save="_s + path);
        return !recordModified();
    }
    bool recordModified() const { return w.context.document.modified(DocumentState::Document::Record); }
    void markListModified() { w.context.document.markModified(DocumentState::Document::List); }
};

#include "support/ScriptedUi.h"

#include "gui/commands/CommandDialogWindows.h"
#include "support/core/TestContext.h"
#include "platform/widgets/Modal.h"
#include "platform/widgets/UserDialogWindows.h"

#include <QApplication>
#include <QDialog>
#include <QDrag>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPointer>
#include <QTimer>
#include <gtest/gtest.h>

namespace testing_support {

namespace {

class TestModalRuns final : public platform::ModalRuns {
protected:
    int runModal(QDialog& dialog) override {
        if (const auto* work = ModalReplies::current()) return (*work)(dialog);
        ADD_FAILURE() << "Modal dialog opened outside any script: " << dialog.metaObject()->className() << " \""
                      << dialog.windowTitle().toStdString() << "\"";
        return int(QDialog::Rejected);
    }
    Qt::DropAction runDrag(QDrag& drag, Qt::DropActions, Qt::DropAction) override {
        Qt::DropAction done = Qt::IgnoreAction;
        if (const auto* play = DragReplies::current()) {
            done = (*play)(drag);
        } else {
            ADD_FAILURE() << "Drag started outside any script: QDrag from "
                          << (drag.source() ? drag.source()->metaObject()->className() : "nowhere") << " carrying \""
                          << (drag.mimeData() ? drag.mimeData()->text().toStdString() : std::string()) << "\"";
        }
        drag.deleteLater();  // as the system's run deletes it
        return done;
    }
};

}  // namespace

platform::ModalRuns& modalRuns() {
    static TestModalRuns runs;
    return runs;
}

namespace {

// What a window nobody scripted says: its class, its title and its words.
std::string describe(QObject* window) {
    QString text;
    QString title;
    if (auto* box = qobject_cast<QMessageBox*>(window)) {
        text = box->text();
    } else if (auto* input = qobject_cast<QInputDialog*>(window)) {
        text = input->labelText();
    } else if (auto* files = qobject_cast<QFileDialog*>(window)) {
        text = files->directory().path();
    } else if (auto* menu = qobject_cast<QMenu*>(window)) {
        title = menu->title();
        for (const QAction* action : menu->actions()) text += action->text() + QLatin1Char('|');
    } else if (auto* drag = qobject_cast<QDrag*>(window)) {
        if (drag->mimeData()) text = drag->mimeData()->text();
    }
    if (auto* widget = qobject_cast<QWidget*>(window)) {
        if (title.isEmpty()) title = widget->windowTitle();
        if (text.isEmpty())
            for (const QLabel* label : widget->findChildren<QLabel*>()) text += label->text() + QLatin1Char(' ');
    }
    return std::string(window->metaObject()->className()) + " \"" + title.toStdString() + "\" saying \"" +
           text.trimmed().toStdString() + "\"";
}

// A drag under way, found by the widget it started from.
QDrag* runningDrag() {
    for (QWidget* widget : QApplication::allWidgets())
        if (auto* drag = widget->findChild<QDrag*>(QString(), Qt::FindDirectChildrenOnly)) return drag;
    return nullptr;
}

class UnscriptedWindowWatch : public QObject {
public:
    UnscriptedWindowWatch() : QObject(qApp) {
        auto* timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, &UnscriptedWindowWatch::look);
        timer->start(100);
    }

private:
    // Long enough for any script to work its window, short enough to fail well within 5 s.
    static constexpr int kGraceMs = 1500;

    void look() {
        QObject* open = QApplication::activePopupWidget();
        if (!open) open = QApplication::activeModalWidget();
        if (!open) open = runningDrag();
        if (open != seen_) {
            seen_ = open;
            since_.start();
            return;
        }
        if (!open || since_.elapsed() < kGraceMs) return;
        ADD_FAILURE() << "A window nobody scripted was left waiting for the user: " << describe(open);
        seen_ = nullptr;
        if (qobject_cast<QDrag*>(open)) QDrag::cancel();
        else if (auto* dialog = qobject_cast<QDialog*>(open)) dialog->reject();
        else if (auto* widget = qobject_cast<QWidget*>(open)) widget->close();
    }

    QPointer<QObject> seen_;
    QElapsedTimer since_;
};

}  // namespace

void watchForUnscriptedWindows() {
    static UnscriptedWindowWatch* watch = new UnscriptedWindowWatch;
    Q_UNUSED(watch);
}

void prepareWindowTests() {
    static CommandDialogWindows windows(modalRuns());
    useCommandDialogs(windows);
    watchForUnscriptedWindows();
}

RealMsgBoxes::RealMsgBoxes() : MsgBoxReplies(platform::showMessageBox) {}

RealFileDialogs::RealFileDialogs() : FileDialogReplies(platform::showFileDialog) {}

ScriptedModals::ScriptedModals() : replies_([this](QDialog& dialog) { return work(dialog); }) {}

ScriptedModals::~ScriptedModals() {
    if (!steps_.isEmpty()) ADD_FAILURE() << steps_.size() << " expected modal dialog(s) never shown";
}

int ScriptedModals::work(QDialog& dialog) {
    if (steps_.isEmpty()) {
        ADD_FAILURE() << "Unexpected modal dialog \"" << dialog.windowTitle().toStdString() << "\"";
        dialog.reject();
        return int(QDialog::Rejected);
    }
    const Step step = steps_.takeFirst();
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    step(dialog);
    if (dialog.isVisible()) {
        ADD_FAILURE() << "Modal dialog \"" << dialog.windowTitle().toStdString() << "\" was left open";
        dialog.reject();
    }
    return dialog.result();
}

ScriptedModals& ScriptedModals::then(Step step) {
    steps_.append(std::move(step));
    return *this;
}

}  // namespace testing_support

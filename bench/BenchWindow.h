#pragma once
// The program's main window as a user has it, shown on the display Qt finds (an X display,
// or offscreen when QT_QPA_PLATFORM says so), with the real browser, its settings and
// program folder in a temporary folder, for benchmarks that run what users run. The
// platform the window ran on is reported as "qpa_platform" with the figures.
#include <QMainWindow>
#include "core/commands/modMTP.h"
#include "gui/commands/CommandDialogWindows.h"
#include "core/program/ProgramContext.h"
#include "gui/catalogues/TreePane.h"

#include <QMainWindow>
#include "gui/app/modMetaMain.h"
#include "platform/webengine/WebEngineBrowser.h"
#include "platform/widgets/Modal.h"
#include "platform/widgets/UserDialogWindows.h"

#include <QApplication>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <functional>
#include <malloc.h>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>

namespace bench {

inline QTemporaryDir*& sandbox() {
    static QTemporaryDir* dir = nullptr;
    return dir;
}

inline QMainWindow*& window() {
    static QMainWindow* form = nullptr;
    return form;
}

// The program's state the shown window works on.
inline ProgramContext*& context() {
    static ProgramContext* state = nullptr;
    return state;
}

// How the benchmarks ask the user: a message box would stop the run, so it is answered Cancel
// and said; the file dialogs and the wait cursor are the program's own.
class BenchUserDialogs final : public UserDialogs {
public:
    platform::FileDialogAnswer runFileDialog(const platform::FileDialogRequest& request) override {
        return platform::showFileDialog(request);
    }

protected:
    int showMsgBox(const platform::MsgBoxCall& call) override {
        std::fprintf(stderr, "message box during the benchmark: %s\n", qPrintable(call.text));
        return platform::kAnswerCancel;
    }
    void beginWait() override { QApplication::setOverrideCursor(Qt::WaitCursor); }
    void endWait() override { QApplication::restoreOverrideCursor(); }
};

// The shown window's hierarchy pane.
inline TreePane& treePane() { return *window()->findChild<TreePane*>(QStringLiteral("treePane")); }

// Settings, program folder and data of a first start in `home`; never the user's keyring.
inline QList<std::pair<QString, QString>> firstStartVariables(const QString& home) {
    QList<std::pair<QString, QString>> variables{
        {QStringLiteral("QUORVANTIL_CONFIG"), home + QStringLiteral("/config")},
        {QStringLiteral("QUORVANTIL_HOME"), home + QStringLiteral("/home")},
        {QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/xdg-data")},
        {QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("unix:path=/nonexistent/quorvantil-bench")}};
    // The engine refuses to start as root with its sandbox on.
    if (geteuid() == 0) variables.append({QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1")});
    return variables;
}

// This environment with those of a first start in `home`, for a fresh process.
inline QProcessEnvironment firstStartEnvironment(const QString& home) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : firstStartVariables(home)) env.insert(name, value);
    return env;
}

// Every pending update of every window is carried out: what a user waits for to see a change.
inline void paintPending() {
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    QApplication::processEvents();
}

// A timed load (and the reference it is measured against) starts from a heap whose free
// memory went back to the system, as the first load in a freshly started program does:
// whether a run finds tens of megabytes left free by the run before it (and needs no fresh
// pages) would otherwise depend on what ran before. Saves run as a user's do, after a load.
inline void startCold(benchmark::State& state) {
    state.PauseTiming();
    malloc_trim(0);
    state.ResumeTiming();
}

// The most memory this process has had resident so far, in bytes.
inline long long peakResidentBytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<long long>(usage.ru_maxrss) * 1024;
}

inline bool haveDisplay() {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY") ||
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return true;
    std::fprintf(stderr, "No display: run the window benchmarks with bench/run-x, or set QT_QPA_PLATFORM=offscreen\n");
    return false;
}

// Runs `body` with the window up and shown; returns what it returns.
inline int withWindow(int argc, char** argv, const std::function<int()>& body) {
    if (!haveDisplay()) return 2;
    QTemporaryDir dir;
    sandbox() = &dir;
    for (const auto& [name, value] : firstStartVariables(dir.path()))
        qputenv(name.toLocal8Bit().constData(), value.toLocal8Bit());
    platform::webengine::registerSchemes();
    QApplication app(argc, argv);
    platform::webengine::useWebEngineBrowser();
    modMetaMain::createCacheDirs();
    modMTP::ProgramDispatcher dispatcher;
    platform::ModalRuns modals;
    CommandDialogWindows dialogs(modals);
    BenchUserDialogs user;
    platform::ProcessStarter processes;
    ProgramContext context(dispatcher, dialogs, {user, processes, platform::userRegistryFile(), std::nullopt});
    std::unique_ptr<QMainWindow> form(modMetaMain::openMainWindow(context, modals));
    form->resize(1000, 700);
    form->show();
    QApplication::processEvents();
    window() = form.get();
    bench::context() = &context;
    const int result = body();
    bench::context() = nullptr;
    window() = nullptr;
    form.reset();
    return result;
}

// Runs the benchmarks registered in this program with the window up.
inline int runWithWindow(int argc, char** argv) {
    return withWindow(argc, argv, [&] {
        benchmark::AddCustomContext("qpa_platform", QGuiApplication::platformName().toStdString());
        benchmark::Initialize(&argc, argv);
        if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
        return 0;
    });
}

}  // namespace bench

#pragma once
// The program's main window as a user has it, shown on the display Qt finds (an X display,
// or offscreen when QT_QPA_PLATFORM says so), with the real browser, its settings and
// program folder in a temporary folder, for benchmarks that run what users run. The
// platform the window ran on is reported as "qpa_platform" with the figures.
#include "app/Form1.h"
#include "app/modMetaMain.h"
#include "platform/MsgBox.h"
#include "platform/webengine/WebEngineBrowser.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <unistd.h>

namespace bench {

inline QTemporaryDir*& sandbox() {
    static QTemporaryDir* dir = nullptr;
    return dir;
}

inline Form1*& window() {
    static Form1* form = nullptr;
    return form;
}

// Runs the benchmarks registered in this program with the window up.
inline int runWithWindow(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        std::fprintf(stderr, "No display: run the window benchmarks with bench/run-x, or set QT_QPA_PLATFORM=offscreen\n");
        return 2;
    }
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QTemporaryDir dir;
    sandbox() = &dir;
    qputenv("QUORVANTIL_CONFIG", (dir.path() + QStringLiteral("/config")).toUtf8());
    qputenv("QUORVANTIL_HOME", (dir.path() + QStringLiteral("/home")).toUtf8());
    qputenv("XDG_DATA_HOME", (dir.path() + QStringLiteral("/xdg-data")).toUtf8());
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/quorvantil-bench");  // never the user's keyring
    platform::webengine::registerSchemes();
    QApplication app(argc, argv);
    platform::webengine::useWebEngineBrowser();
    // Any message box would stop the run: answer it and say so.
    platform::setMsgBoxResponder([](const platform::MsgBoxCall& call) {
        qWarning("message box during the benchmark: %s", qPrintable(call.text));
        return int(platform::vbCancel);
    });
    modMetaMain::createCacheDirs();
    auto form = std::make_unique<Form1>();
    form->Form_Load();
    form->resize(1000, 700);
    form->show();
    QApplication::processEvents();
    window() = form.get();

    benchmark::AddCustomContext("qpa_platform", QGuiApplication::platformName().toStdString());
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    form.reset();
    return 0;
}

}  // namespace bench

// Field commands and command batches against a loaded main window: both must grow
// linearly with the number of commands.
#include "app/Form1.h"
#include "commands/modMTP.h"
#include "platform/ListView.h"
#include "platform/MsgBox.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kRecordLines = 200;

Form1* mainWindow = nullptr;

Form1& window() {
    return *mainWindow;
}

// A record of 200 lines, each its own element with an X.500 scheme.
void fillRecord(Form1& form) {
    form.MetaPanel->Clear();
    for (int i = 0; i < kRecordLines; ++i)
        form.addRecordLine({QStringLiteral("DC.Element%1").arg(i), QStringLiteral("c=AU"), QString(),
                            QStringLiteral("x500")});
}

// Command k replaces the content of line k % 200 (the record keeps its size).
QString fieldCommand(int k) {
    return QStringLiteral("mtp://field=DC.Element%1&content=AU|Agency %2|Branch|&scheme=x500.fld/")
        .arg(k % kRecordLines)
        .arg(k);
}

void BM_FieldCommands(benchmark::State& state) {
    Form1& form = window();
    const int count = int(state.range(0));
    QStringList commands;
    for (int k = 0; k < count; ++k) commands << fieldCommand(k);
    for (auto _ : state) {
        state.PauseTiming();
        fillRecord(form);
        state.ResumeTiming();
        for (const QString& text : commands) {
            QString command = text;
            modMTP::mtpTransaction(command);
        }
    }
    if (form.MetaPanel->Count() != kRecordLines) state.SkipWithError("the record changed size");
    state.SetItemsProcessed(state.iterations() * count);
    state.SetComplexityN(count);
}
BENCHMARK(BM_FieldCommands)->Arg(5000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

void BM_BatchFile(benchmark::State& state) {
    Form1& form = window();
    const int count = int(state.range(0));
    static QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/bench.kqb");
    {
        QByteArray text;
        for (int k = 0; k < count; ++k) {
            // Every tenth line is a comment the runner skips.
            if (k % 10 == 9) text += "# comment line\r\n";
            else text += fieldCommand(k).toUtf8() + "\r\n";
        }
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(text);
    }
    for (auto _ : state) {
        state.PauseTiming();
        fillRecord(form);
        state.ResumeTiming();
        QString command = QStringLiteral("mtp://open=") + path + QStringLiteral("/");
        modMTP::mtpTransaction(command);
    }
    if (form.MetaPanel->Count() != kRecordLines) state.SkipWithError("the record changed size");
    state.SetItemsProcessed(state.iterations() * count);
    state.SetComplexityN(count);
}
BENCHMARK(BM_BatchFile)->Arg(5000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The window reads and writes its settings and program files in a folder of its own.
    QTemporaryDir sandbox;
    qputenv("QUORVANTIL_CONFIG", (sandbox.path() + QStringLiteral("/config")).toUtf8());
    qputenv("QUORVANTIL_HOME", (sandbox.path() + QStringLiteral("/home")).toUtf8());
    QApplication app(argc, argv);
    // Any message box would stop the run: answer it and say so.
    platform::setMsgBoxResponder([](const platform::MsgBoxCall& call) {
        qWarning("Unexpected message: %s", qPrintable(call.text));
        return int(platform::vbOK);
    });
    auto form = std::make_unique<Form1>();
    form->Form_Load();
    mainWindow = form.get();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

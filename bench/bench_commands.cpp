// Field commands and command batches against a loaded main window: both must grow
// linearly with the number of commands, also while the record grows with them.
#include "BenchWindow.h"
#include "core/commands/modMTP.h"
#include "core/record/Record.h"
#include "platform/MsgBox.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <string>

namespace {

constexpr int kRecordLines = 200;


// A record of `lines` lines, each its own element with an X.500 scheme.
void fillRecord(int lines = kRecordLines) {
    bench::context()->record.clear();
    for (int i = 0; i < lines; ++i)
        bench::context()->record.append({QStringLiteral("DC.Element%1").arg(i), QStringLiteral("c=AU"), QString(),
                            QStringLiteral("x500")});
}

// Command k replaces the content of line k % lines (the record keeps its size).
QString fieldCommand(int k, int lines = kRecordLines) {
    return QStringLiteral("mtp://field=DC.Element%1&content=AU|Agency %2|Branch|&scheme=x500.fld/")
        .arg(k % lines)
        .arg(k);
}

// Arguments: the number of commands and the record's size; the cost of a command must not
// grow with either.
void BM_FieldCommands(benchmark::State& state) {
    const int count = int(state.range(0));
    const int lines = int(state.range(1));
    QStringList commands;
    for (int k = 0; k < count; ++k) commands << fieldCommand(k, lines);
    for (auto _ : state) {
        state.PauseTiming();
        fillRecord(lines);
        state.ResumeTiming();
        for (const QString& text : commands) {
            QString command = text;
            modMTP::mtpTransaction(*bench::context(), command);
        }
    }
    if (bench::context()->record.count() != lines) state.SkipWithError("the record changed size");
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_FieldCommands)
    ->Args({5000, kRecordLines})
    ->Args({10000, kRecordLines})
    ->Args({10000, 5000})
    ->Unit(benchmark::kMillisecond);

// Runs the batch, then paints what it left: the time a user waits for the window to show it.
void runBatch(const QString& path) {
    QString command = QStringLiteral("mtp://open=") + path + QStringLiteral("/");
    modMTP::mtpTransaction(*bench::context(), command);
    bench::paintPending();
}

void BM_BatchFile(benchmark::State& state) {
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
        fillRecord();
        state.ResumeTiming();
        runBatch(path);
    }
    if (bench::context()->record.count() != kRecordLines) state.SkipWithError("the record changed size");
    state.SetItemsProcessed(state.iterations() * count);
    state.SetComplexityN(count);
}
BENCHMARK(BM_BatchFile)->Arg(5000)->Arg(10000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

// A batch file of `count` lines, made once per content.
QString batchFile(const QString& name, int count, const std::function<QString(int)>& line) {
    static QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/%1-%2.kqb").arg(name).arg(count);
    if (!QFile::exists(path)) {
        QByteArray text;
        for (int k = 0; k < count; ++k) text += line(k).toUtf8() + "\r\n";
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(text);
    }
    return path;
}

// Runs the batch once per iteration, each time on an empty record.
void timeBatch(benchmark::State& state, const QString& path) {
    for (auto _ : state) {
        state.PauseTiming();
        QString clear = QStringLiteral("mtp://delete=all.fld");
        modMTP::mtpTransaction(*bench::context(), clear);
        QApplication::processEvents();
        state.ResumeTiming();
        runBatch(path);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// A batch whose record grows as a cataloguer's does: one command in three joins a term into
// the one subject line, the others add a description line (200 elements in turn, each
// taking a value of its own), so 10,000 commands leave about 6,700 lines.
void BM_GrowingRecordBatch(benchmark::State& state) {
    const int count = int(state.range(0));
    const QString path = batchFile(QStringLiteral("growing"), count, [](int k) {
        if (k % 3 == 0) return QStringLiteral("mtp://field=DC.Subject&content=Topics|Term %1&scheme=apais.fld/").arg(k);
        return QStringLiteral("mtp://field=DC.Description%1&content=Description %2.fld/").arg(k % 200).arg(k);
    });
    timeBatch(state, path);
    state.SetLabel(std::to_string(bench::context()->record.count()) + " lines");
}
// The sizes both batches run at, once each.
void batchSizes(benchmark::internal::Benchmark* runs) {
    runs->Arg(1000)->Arg(2000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);
}
BENCHMARK(BM_GrowingRecordBatch)->Apply(batchSizes);

// The same number of batch lines that leave the record as it is: what the batch itself costs.
void BM_EmptyBatch(benchmark::State& state) {
    const int count = int(state.range(0));
    timeBatch(state, batchFile(QStringLiteral("empty"), count, [](int) { return QStringLiteral("mtp://gotop.fld/"); }));
}
BENCHMARK(BM_EmptyBatch)->Apply(batchSizes);

}  // namespace

int main(int argc, char** argv) {
    return bench::runWithWindow(argc, argv);
}

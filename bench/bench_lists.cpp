// Loading a scheme list into the shown tree pane and writing it back, at two sizes: the time
// per line should stay flat from 50,000 to 100,000 lines; beside them, the same file read,
// decoded and split into lines.
#include "BenchWindow.h"
#include "ListFiles.h"
#include "References.h"
#include "gui/app/modMetaMain.h"
#include "core/commands/ListLoading.h"
#include "core/commands/modMTP.h"
#include "platform/MsgBox.h"
#include "core/catalogues/ListTree.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

QTemporaryDir*& sandbox = bench::sandbox();

QString schemeList(int lines) {
    static std::map<int, QString> made;
    if (auto it = made.find(lines); it != made.end()) return it->second;
    const QString path = bench::writeList(sandbox->path() + QStringLiteral("/Bench%1.kqs").arg(lines), lines);
    if (!path.isEmpty()) made[lines] = path;
    return path;
}

// Loaded as the user opens it, and shown.
void load(const QString& path) {
    QString location = path;
    modMTP::loadList(*bench::context(), location);
    bench::paintPending();
}

// The reference: the same file read, decoded and split into its lines.
void BM_ReadDecodeSplitSchemeList(benchmark::State& state) {
    const int lines = int(state.range(0));
    const QString path = schemeList(lines);
    for (auto _ : state) {
        bench::startCold(state);
        if (bench::readDecodeAndSplit(path) != lines) state.SkipWithError("lines missing");
    }
    state.SetItemsProcessed(state.iterations() * lines);
}
BENCHMARK(BM_ReadDecodeSplitSchemeList)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LoadSchemeList(benchmark::State& state) {
    const int lines = int(state.range(0));
    const QString path = schemeList(lines);
    for (auto _ : state) {
        bench::startCold(state);
        load(path);
        state.PauseTiming();
        if (bench::context()->listTrees[size_t(bench::context()->treeIndex)].count() != lines + 1) state.SkipWithError("lines missing");
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * lines);
}
BENCHMARK(BM_LoadSchemeList)->Arg(50000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SaveAsList(benchmark::State& state) {
    const int lines = int(state.range(0));
    const QString source = schemeList(lines);
    load(source);
    if (bench::context()->listTrees[size_t(bench::context()->treeIndex)].count() != lines + 1) state.SkipWithError("lines missing");
    QString target = sandbox->path() + QStringLiteral("/Saved%1.kqs").arg(lines);
    for (auto _ : state) {
        if (!bench::treePane().listDocument().SaveAsList(target)) state.SkipWithError("not written");
    }
    QFile a(source), b(target);
    if (a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly) && a.size() != b.size())
        state.SkipWithError("the saved list differs in size from the one loaded");
    state.SetItemsProcessed(state.iterations() * lines);
}
BENCHMARK(BM_SaveAsList)->Arg(50000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    return bench::runWithWindow(argc, argv);
}

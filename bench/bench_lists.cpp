// Loading a scheme list into the tree pane and writing it back, at two sizes: the time
// per line should stay flat from 50,000 to 100,000 lines.
#include "BenchWindow.h"
#include "app/modMetaMain.h"
#include "commands/ListLoading.h"
#include "commands/modMTP.h"
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
Form1*& window = bench::window();

// A scheme list of `lines` lines in blocks of 10,000: each block is a top-level folder
// with folders five levels deep (5, 25, 100 and 400 below it) whose deepest 400 folders
// share the block's terms. Folders come before their contents, as in a saved list.
QString schemeList(int lines) {
    static std::map<int, QString> made;
    if (auto it = made.find(lines); it != made.end()) return it->second;
    const QString path = sandbox->path() + QStringLiteral("/Bench%1.kqs").arg(lines);
    QByteArray text;
    int written = 0;
    const auto line = [&](const QString& l) {
        text += l.toUtf8();
        text += "\r\n";
        ++written;
    };
    for (int block = 0; written < lines; ++block) {
        const int blockEnd = std::min(lines, written + 10000);
        const QString a = QStringLiteral("Topic %1|").arg(block);
        line(a);
        const int leaves = 400;
        const int folders = 1 + 5 + 25 + 100 + leaves;
        const int terms = blockEnd - written - (folders - 1);
        int leaf = 0;
        for (int b = 0; b < 5; ++b) {
            const QString pb = a + QStringLiteral("Area %1|").arg(b);
            line(pb);
            for (int c = 0; c < 5; ++c) {
                const QString pc = pb + QStringLiteral("Group %1|").arg(c);
                line(pc);
                for (int d = 0; d < 4; ++d) {
                    const QString pd = pc + QStringLiteral("Set %1|").arg(d);
                    line(pd);
                    for (int e = 0; e < 4; ++e, ++leaf) {
                        const QString pe = pd + QStringLiteral("Kind %1|").arg(e);
                        line(pe);
                        const int from = terms * leaf / leaves;
                        const int to = terms * (leaf + 1) / leaves;
                        for (int t = from; t < to; ++t)
                            line(pe + QStringLiteral("Term %1|mtp://field=DC.Subject&content=Term %1&scheme=Bench.fld/").arg(t));
                    }
                }
            }
        }
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size()) return QString();
    made[lines] = path;
    return path;
}

void load(const QString& path) {
    QString location = path;
    modMTP::loadList(location);
}

void BM_LoadSchemeList(benchmark::State& state) {
    const int lines = int(state.range(0));
    const QString path = schemeList(lines);
    for (auto _ : state) {
        load(path);
        state.PauseTiming();
        if (window->activeTree()->count() != lines + 1) state.SkipWithError("lines missing");
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * lines);
}
BENCHMARK(BM_LoadSchemeList)->Arg(50000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SaveAsList(benchmark::State& state) {
    const int lines = int(state.range(0));
    const QString source = schemeList(lines);
    load(source);
    if (window->activeTree()->count() != lines + 1) state.SkipWithError("lines missing");
    QString target = sandbox->path() + QStringLiteral("/Saved%1.kqs").arg(lines);
    for (auto _ : state) {
        long count = 0;
        if (!window->SaveAsList(target, count)) state.SkipWithError("not written");
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

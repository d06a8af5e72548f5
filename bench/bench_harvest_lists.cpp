// Writing the tree as a Harvest Control List and an RSS channel and reading them back into
// the shown tree, at two sizes: the time per item should stay flat from 50,000 to 100,000
// items. Beside them, the reference: the same files parsed by libxml2 and walked.
#include "BenchWindow.h"
#include "References.h"
#include "gui/catalogues/HarvestLists.h"
#include "gui/catalogues/modRSS.h"
#include "core/commands/modMTP.h"
#include "core/domains/modSchemas.h"
#include "core/catalogues/ListTree.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <map>

namespace {

QTemporaryDir*& sandbox = bench::sandbox();

// A list of `items` items, 1,000 to a folder, two folder levels deep, in the AGLS 1.2 form.
QString harvestList(int items) {
    static std::map<int, QString> made;
    if (auto it = made.find(items); it != made.end()) return it->second;
    QByteArray text = "<?xml version=\"1.0\"?>\r\n<!DOCTYPE hcl SYSTEM \"hcl.dtd\">\r\n<hcl>\r\n<site>\r\n";
    for (int i = 0; i < items; ++i) {
        text += "  <item>\r\n          <title>Page " + QByteArray::number(i) + " &amp; more</title>\r\n";
        text += "          <link>http://site.example/" + QByteArray::number(i) + "?a=1&amp;b=2</link>\r\n";
        text += "          <local lname=\"Folder\">Area " + QByteArray::number(i / 10000) + "; Topic " +
                QByteArray::number(i / 1000) + "</local>\r\n  </item>\r\n";
    }
    text += "</site>\r\n</hcl>\r\n";
    const QString path = sandbox->path() + QStringLiteral("/Bench%1.xml").arg(items);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size()) return QString();
    made[items] = path;
    return path;
}

// Each item brings its own line; each folder one more.
bool allShown(int items) {
    return bench::context()->listTrees[size_t(bench::context()->treeIndex)].count() == 1 + items + items / 10000 + items / 1000;
}

// Loaded as the user loads it, and shown.
bool load(const QString& command, int items) {
    modMTP::runMtpCommand(*bench::context(), command);
    bench::paintPending();
    return allShown(items);
}

bool load(int items) {
    return load(QStringLiteral("mtp://loadHCL=") + harvestList(items) + QStringLiteral(".kqi"), items);
}

// The channel the program writes for the list.
QString channelFile(int items) {
    static std::map<int, QString> made;
    if (auto it = made.find(items); it != made.end()) return it->second;
    QString channel = sandbox->path() + QStringLiteral("/Channel%1.xml").arg(items);
    if (!load(items) || !bench::treePane().listFiles().saveChannel(channel)) return QString();
    made[items] = channel;
    return channel;
}

void parseAndWalk(benchmark::State& state, const QString& path) {
    const int items = int(state.range(0));
    for (auto _ : state) {
        bench::startCold(state);
        if (bench::libxml2ParseAndWalk(path) < items) state.SkipWithError("not well-formed");
    }
    state.SetItemsProcessed(state.iterations() * items);
}

void BM_Libxml2HarvestList(benchmark::State& state) {
    parseAndWalk(state, harvestList(int(state.range(0))));
}
BENCHMARK(BM_Libxml2HarvestList)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Libxml2Channel(benchmark::State& state) {
    parseAndWalk(state, channelFile(int(state.range(0))));
}
BENCHMARK(BM_Libxml2Channel)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LoadHarvestList(benchmark::State& state) {
    const int items = int(state.range(0));
    harvestList(items);
    for (auto _ : state) {
        bench::startCold(state);
        if (!load(items)) state.SkipWithError("items missing");
    }
    state.SetItemsProcessed(state.iterations() * items);
}
BENCHMARK(BM_LoadHarvestList)->Arg(50000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SaveHarvestList(benchmark::State& state) {
    const int items = int(state.range(0));
    if (!load(items)) state.SkipWithError("items missing");
    bench::context()->domain.defaultSchema = QStringLiteral("AGLS1.2");
    QString target = sandbox->path() + QStringLiteral("/Saved%1.xml").arg(items);
    for (auto _ : state) {
        QString path = target;
        QString folder;
        if (!bench::treePane().listFiles().saveHarvestList(true, path, folder)) state.SkipWithError("not written");
    }
    state.SetItemsProcessed(state.iterations() * items);
}
BENCHMARK(BM_SaveHarvestList)->Arg(50000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SaveChannel(benchmark::State& state) {
    const int items = int(state.range(0));
    if (!load(items)) state.SkipWithError("items missing");
    const QString target = sandbox->path() + QStringLiteral("/Saved-channel%1.xml").arg(items);
    for (auto _ : state) {
        QString path = target;
        if (!bench::treePane().listFiles().saveChannel(path)) state.SkipWithError("not written");
    }
    state.SetItemsProcessed(state.iterations() * items);
}
BENCHMARK(BM_SaveChannel)->Arg(50000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LoadChannel(benchmark::State& state) {
    const int items = int(state.range(0));
    const QString channel = channelFile(items);
    if (channel.isEmpty()) state.SkipWithError("not written");
    for (auto _ : state) {
        bench::startCold(state);
        if (!load(QStringLiteral("mtp://loadRSS=") + channel + QStringLiteral(".kqi"), items))
            state.SkipWithError("items missing");
    }
    state.SetItemsProcessed(state.iterations() * items);
}
BENCHMARK(BM_LoadChannel)->Arg(50000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    return bench::runWithWindow(argc, argv);
}

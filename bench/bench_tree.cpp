#include "core/catalogues/ListTree.h"
#include "gui/catalogues/ListTreeView.h"
#include "platform/widgets/Modal.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <optional>
#include <vector>

using NodeId = ListTree::NodeId;
using Place = ListTree::Place;

namespace {

struct Line {
    QString parentKey;
    QString key;
    QString text;
    bool folder;
};

// A catalogue of 100,000 nodes five levels below its root, in list-file order (every
// parent before its children): 10 folders, 10 in each of those, and so on down to
// 10,000 folders on the fourth level, which share the remaining links between them.
const std::vector<Line>& catalogue() {
    static const std::vector<Line> lines = [] {
        constexpr int kTotal = 100000;
        std::vector<Line> out;
        out.reserve(kTotal);
        const QString root = QStringLiteral("Catalog\\");
        out.push_back({QString(), root, QStringLiteral("Catalog"), true});
        const int leavesPerFolder = (kTotal - 11111 + 9999) / 10000;
        int remaining = kTotal - 11111;
        for (int a = 0; a < 10; ++a) {
            const QString ka = root + QStringLiteral("Topic %1\\").arg(a);
            out.push_back({root, ka, QStringLiteral("Topic %1").arg(a), true});
            for (int b = 0; b < 10; ++b) {
                const QString kb = ka + QStringLiteral("Area %1\\").arg(b);
                out.push_back({ka, kb, QStringLiteral("Area %1").arg(b), true});
                for (int c = 0; c < 10; ++c) {
                    const QString kc = kb + QStringLiteral("Group %1\\").arg(c);
                    out.push_back({kb, kc, QStringLiteral("Group %1").arg(c), true});
                    for (int d = 0; d < 10; ++d) {
                        const QString kd = kc + QStringLiteral("Set %1\\").arg(d);
                        out.push_back({kc, kd, QStringLiteral("Set %1").arg(d), true});
                        for (int e = 0; e < leavesPerFolder && remaining > 0; ++e, --remaining) {
                            const QString title = QStringLiteral("Page %1").arg(e);
                            out.push_back({kd, kd + title + QStringLiteral("\\"), title, false});
                        }
                    }
                }
            }
        }
        return out;
    }();
    return lines;
}

// Adds the first `count` lines the way the list loader does: each node as the last child of
// the node with its parent key, inside a bulk when `bulk` is set (a list file's load) or one
// by one into the shown tree with the root open (drops and inserts), a turn of the event loop
// every tenth line.
void load(ListTree& tree, size_t count, bool bulk, const std::vector<Line>& lines = catalogue()) {
    std::optional<ListTree::Bulk> inBulk;
    if (bulk) inBulk.emplace(tree);
    for (size_t i = 0; i < count; ++i) {
        const Line& line = lines[i];
        const NodeId node = line.parentKey.isEmpty()
                                ? tree.add(0, Place::Last, line.key, line.text, 1, 4)
                                : tree.add(tree.itemByKey(line.parentKey), Place::Child, line.key, line.text,
                                           line.folder ? 1 : 2, line.folder ? 4 : 2);
        if (!line.folder) tree.setTag(node, QStringLiteral("http://www.example.com/") + line.text);
        if (i == 0) tree.setExpanded(node, true);
        if (i % 10 == 9) QApplication::processEvents();
    }
}

// A shown pane over a fresh tree.
struct Pane {
    ListTree tree;
    platform::ModalRuns runs;
    ListTreeView view{tree, runs};
    Pane() {
        view.resize(300, 600);
        view.show();
        QApplication::processEvents();
    }
};

// 100,000 links straight below the root, which stays open: the case where laying out
// the open rows at every turn of the event loop would be quadratic.
const std::vector<Line>& flatCatalogue() {
    static const std::vector<Line> lines = [] {
        std::vector<Line> out;
        const QString root = QStringLiteral("Links\\");
        out.push_back({QString(), root, QStringLiteral("Links"), true});
        for (int i = 1; i < 100000; ++i) {
            const QString title = QStringLiteral("Page %1").arg(i);
            out.push_back({root, root + title + QStringLiteral("\\"), title, false});
        }
        return out;
    }();
    return lines;
}

// The load is linear when the time per node stays flat from 25,000 to 100,000 nodes: in a
// bulk as a list file loads, and node by node into the open root as drops add them.
void treeLoad(benchmark::State& state, bool bulk, const std::vector<Line>& lines) {
    const auto count = static_cast<size_t>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto pane = std::make_unique<Pane>();
        state.ResumeTiming();
        load(pane->tree, count, bulk, lines);
        QApplication::processEvents();  // the pane shows the tree
        state.PauseTiming();
        if (pane->tree.count() != static_cast<int>(count)) state.SkipWithError("nodes missing");
        pane.reset();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
void BM_TreeLoad(benchmark::State& state) {
    treeLoad(state, true, catalogue());
}
BENCHMARK(BM_TreeLoad)->Arg(25000)->Arg(50000)->Arg(100000)->Unit(benchmark::kMillisecond);
void BM_TreeAddShown(benchmark::State& state) {
    treeLoad(state, false, catalogue());
}
BENCHMARK(BM_TreeAddShown)->Arg(25000)->Arg(50000)->Arg(100000)->Unit(benchmark::kMillisecond);
void BM_TreeAddShownFlat(benchmark::State& state) {
    treeLoad(state, false, flatCatalogue());
}
BENCHMARK(BM_TreeAddShownFlat)->Arg(25000)->Arg(50000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Every node of the 100,000 looked up by its key.
void BM_TreeFindEveryKey(benchmark::State& state) {
    ListTree tree;
    load(tree, catalogue().size(), true);
    for (auto _ : state) {
        for (const Line& line : catalogue()) {
            const NodeId node = tree.itemByKey(line.key);
            if (!node) state.SkipWithError("key not found");
            benchmark::DoNotOptimize(node);
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(catalogue().size()));
}
BENCHMARK(BM_TreeFindEveryKey)->Unit(benchmark::kMillisecond);

// Every node by index and its full path, as the list writer walks the tree.
void BM_TreeWalkByIndex(benchmark::State& state) {
    ListTree tree;
    load(tree, catalogue().size(), true);
    for (auto _ : state) {
        for (int i = 1; i <= tree.count(); ++i) benchmark::DoNotOptimize(tree.fullPath(tree.item(i)));
    }
    state.SetItemsProcessed(state.iterations() * tree.count());
}
BENCHMARK(BM_TreeWalkByIndex)->Unit(benchmark::kMillisecond);

// Removing one top-level topic (a tenth of the tree) from the shown pane and then asking a
// late node for its index, which closes the gap once.
void BM_TreeRemoveTopic(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        Pane pane;
        load(pane.tree, catalogue().size(), true);
        const NodeId last = pane.tree.item(pane.tree.count());
        state.ResumeTiming();
        pane.tree.remove(pane.tree.itemByKey(QStringLiteral("Catalog\\Topic 3\\")));
        benchmark::DoNotOptimize(pane.tree.indexOf(last));
    }
}
BENCHMARK(BM_TreeRemoveTopic)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

#include "platform/RegistryStore.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using platform::RegistryRoot;
using platform::RegistryStore;

// Two store objects on one file, as two running copies of the program: one writes
// 1,000 values, the other reads them back.
static void BM_RegistryWriteReadThousand(benchmark::State& state) {
    const QString key = QStringLiteral("Software\\Orvane Consulting\\Quorvantil\\Preferences");
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir dir;
        RegistryStore writer(dir.path() + QStringLiteral("/registry.reg"));
        RegistryStore reader(writer.filePath());
        writer.createKey(RegistryRoot::CurrentUser, key);
        state.ResumeTiming();
        for (int i = 0; i < 1000; ++i)
            writer.setValue(RegistryRoot::CurrentUser, key, QStringLiteral("Value%1").arg(i), QStringLiteral("data %1").arg(i));
        for (int i = 0; i < 1000; ++i)
            benchmark::DoNotOptimize(reader.queryValue(RegistryRoot::CurrentUser, key, QStringLiteral("value%1").arg(i)));
    }
    state.SetItemsProcessed(state.iterations() * 2000);
}
BENCHMARK(BM_RegistryWriteReadThousand)->Unit(benchmark::kMillisecond);

// One read of a 1,000-value store that has not changed since the last read.
static void BM_RegistryReadUnchanged(benchmark::State& state) {
    const QString key = QStringLiteral("Software\\Orvane Consulting\\Quorvantil\\Preferences");
    QTemporaryDir dir;
    RegistryStore store(dir.path() + QStringLiteral("/registry.reg"));
    store.createKey(RegistryRoot::CurrentUser, key);
    for (int i = 0; i < 1000; ++i)
        store.setValue(RegistryRoot::CurrentUser, key, QStringLiteral("Value%1").arg(i), QStringLiteral("data"));
    for (auto _ : state)
        benchmark::DoNotOptimize(store.queryValue(RegistryRoot::CurrentUser, key, QStringLiteral("Value500")));
}
BENCHMARK(BM_RegistryReadUnchanged)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();

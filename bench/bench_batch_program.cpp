// A batch on the program's command line, timed as a user waits for it: from the program's
// start until the batch's last line has written its file and the window has painted what the
// batch left, minus the same for a batch of no field commands. Every run is a fresh process
// (this program started again with --run), on the display Qt finds (bench/run-x: X and
// offscreen); it reports the time from its own start, which the benchmark takes as the
// iteration's time.
#include "core/commands/modMTP.h"
#include "gui/commands/CommandDialogWindows.h"
#include "BenchWindow.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

const char* self = nullptr;

// The page the batch opens first and saves last, as a cataloguer's batch does.
const QByteArray kPage = "<html>\r\n<head>\r\n<title>Batch page</title>\r\n</head>\r\n<body>\r\n<p>Text</p>\r\n</body>\r\n</html>\r\n";

// A batch file of `count` commands between opening the page and saving it elsewhere.
QString batchFile(const QString& folder, const QString& name, int count, const std::function<QByteArray(int)>& line) {
    const QString page = folder + QStringLiteral("/page.htm");
    QFile(page).remove();
    QFile pageFile(page);
    if (!pageFile.open(QIODevice::WriteOnly) || pageFile.write(kPage) != kPage.size()) return QString();
    pageFile.close();
    QByteArray text = "mtp://open=" + page.toUtf8() + "\r\n";
    for (int k = 0; k < count; ++k) text += line(k) + "\r\n";
    text += "mtp://save=" + folder.toUtf8() + "/" + name.toUtf8() + "-saved.htm\r\n";
    const QString path = folder + QStringLiteral("/") + name + QStringLiteral(".kqb");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text) != text.size()) return QString();
    return path;
}

// One run in this process: the program as main() starts it, with the batch as its command
// line. Prints the milliseconds from the start until the saved file is there and the window
// has painted; exits at once after.
int runOnce(int argc, char** argv, Clock::time_point start) {
    const QString batch = QString::fromLocal8Bit(argv[2]);
    const QString saved = QString::fromLocal8Bit(argv[3]);
    platform::webengine::registerSchemes();
    QApplication app(argc, argv);
    platform::webengine::useWebEngineBrowser();
    QApplication::setApplicationName(QStringLiteral("Quorvantil"));
    modMTP::ProgramDispatcher dispatcher;
    platform::ModalRuns modals;
    CommandDialogWindows dialogs(modals);
    bench::BenchUserDialogs user;
    platform::ProcessStarter processes;
    ProgramContext context(dispatcher, dialogs, {user, processes, platform::userRegistryFile(), std::nullopt});
    modMetaMain::Main(context, modals, QStringLiteral("mtp://open=") + batch);
    if (!QFileInfo::exists(saved)) {
        std::fprintf(stderr, "the batch wrote no %s\n", qPrintable(saved));
        std::fflush(stderr);
        _exit(3);
    }
    // What the batch left is painted: every pending update of every window is carried out.
    bench::paintPending();
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    std::printf("%s %.3f\n", qPrintable(QGuiApplication::platformName()), ms);
    std::fflush(stdout);
    _exit(0);
}

// Runs the batch in a fresh process once per iteration.
void timeRuns(benchmark::State& state, const QString& name, const std::function<QByteArray(int)>& line) {
    QTemporaryDir dir;
    const int count = int(state.range(0));
    const QString batch = batchFile(dir.path(), name, count, line);
    const QString saved = dir.path() + QStringLiteral("/") + name + QStringLiteral("-saved.htm");
    if (batch.isEmpty()) {
        state.SkipWithError("could not write the batch");
        return;
    }
    QString platform;
    for (auto _ : state) {
        QFile::remove(saved);
        QTemporaryDir home;  // settings and program folder of a first start
        QProcess run;
        run.setProcessEnvironment(bench::firstStartEnvironment(home.path()));
        run.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        run.start(QString::fromLocal8Bit(self), {QStringLiteral("--run"), batch, saved});
        if (!run.waitForFinished(600000) || run.exitCode() != 0) {
            state.SkipWithError("the run failed");
            return;
        }
        const QList<QByteArray> words = run.readAllStandardOutput().trimmed().split(' ');
        if (words.size() != 2) {
            state.SkipWithError("the run reported nothing");
            return;
        }
        platform = QString::fromLatin1(words.at(0));
        state.SetIterationTime(words.at(1).toDouble() / 1000.0);
    }
    state.SetLabel(platform.toStdString());
    state.SetItemsProcessed(state.iterations() * count);
}

// As the growing-record batch of bench_commands: one command in three joins a term into the
// subject line, the others add description lines, so 10,000 commands leave about 6,700 lines.
// Ten times the commands take about ten times as long, whatever the record grows to.
void BM_ProgramGrowingRecordBatch(benchmark::State& state) {
    timeRuns(state, QStringLiteral("growing"), [](int k) {
        if (k % 3 == 0) return "mtp://field=DC.Subject&content=Topics|Term " + QByteArray::number(k) + "&scheme=apais.fld/";
        return "mtp://field=DC.Description" + QByteArray::number(k % 200) + "&content=Description " + QByteArray::number(k) +
               ".fld/";
    });
}
// The sizes both batches run at, each run timed by the program itself.
void batchSizes(benchmark::internal::Benchmark* runs) {
    runs->Arg(10000)->Arg(30000)->Arg(100000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);
}
BENCHMARK(BM_ProgramGrowingRecordBatch)->Apply(batchSizes);

// The same number of lines that change nothing: what starting, reading the batch and saving cost.
void BM_ProgramEmptyBatch(benchmark::State& state) {
    timeRuns(state, QStringLiteral("empty"), [](int) { return QByteArray("mtp://gotop.fld/"); });
}
BENCHMARK(BM_ProgramEmptyBatch)->Apply(batchSizes);

}  // namespace

int main(int argc, char** argv) {
    const Clock::time_point start = Clock::now();
    self = argv[0];
    if (argc == 4 && std::strcmp(argv[1], "--run") == 0) return runOnce(argc, argv, start);
    if (!bench::haveDisplay()) return 2;
    QCoreApplication app(argc, argv);
    benchmark::AddCustomContext("qpa_platform", qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")
                                                    ? std::string("xcb")
                                                    : qgetenv("QT_QPA_PLATFORM").toStdString());
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

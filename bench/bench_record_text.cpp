#include "platform/TextCodec.h"
#include "core/record/MetaReader.h"
#include "core/record/MetaWriter.h"
#include "core/record/PageEncoding.h"
#include "core/record/RdfWriter.h"
#include "core/record/modCharEncoding.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>

// Each benchmark runs at half and full size (the argument is the size in percent), so the
// two times show whether the work grows in proportion to the input.

namespace {

// A page of about `bytes` characters whose head holds `metas` meta elements.
QString makePage(qsizetype bytes, int metas) {
    QString page = QStringLiteral("<!DOCTYPE html>\r\n<html lang=\"en\">\r\n<head>\r\n<title>Big page</title>\r\n");
    for (int i = 0; i < metas; ++i)
        page += QStringLiteral("  <meta name=\"DC.Subject.%1\" lang=\"en\" scheme=\"LCSH\" "
                               "content=\"Subject number %1 &amp; more\">\r\n")
                    .arg(i);
    page += QStringLiteral("<link rel=\"schema.DC\" href=\"http://purl.org/dc/elements/1.1/\">\r\n</head>\r\n<body>\r\n");
    const QString paragraph = QStringLiteral(
        "<p>Caf\u00E9 text with <b>markup</b>, \"quotes\" &amp; <a href=\"x.htm\">links</a>; metaphors.</p>\r\n");
    while (page.size() < bytes) page += paragraph;
    page += QStringLiteral("</body>\r\n</html>\r\n");
    return page;
}

MetadataRecord makeRecord(int lines) {
    MetadataRecord record;
    for (int i = 0; i < lines; ++i) {
        MetadataLine line;
        line.name = QStringLiteral("DC.Subject.%1").arg(i);
        line.content = QStringLiteral("Value %1 with <angles> & \"quotes\"").arg(i);
        line.lang = QStringLiteral("en");
        if (i % 3 == 0) line.scheme = QStringLiteral("LCSH");
        record.append(line);
    }
    return record;
}

QString makeContent(qsizetype bytes) {
    const QString piece = QStringView(u"R\u00E9sum\u00E9 & <tag> \"q\" \u00A9 {x} \u20AC5 plain words here. ").toString();
    QString text;
    text.reserve(bytes + piece.size());
    while (text.size() < bytes) text += piece;
    return text;
}

constexpr qsizetype kMegabyte = 1024 * 1024;

}  // namespace

static void BM_ReadPageMetaElements(benchmark::State& state) {
    const int percent = int(state.range(0));
    const QString page = makePage(10 * kMegabyte * percent / 100, 5000 * percent / 100);
    for (auto _ : state) benchmark::DoNotOptimize(MetaReader::readPageRecord(page, false));
    state.SetBytesProcessed(state.iterations() * page.size() * 2);
}
BENCHMARK(BM_ReadPageMetaElements)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond);

// Hostile pages: unclosed tags, look-alike elements and tags cut off by the next one.
static void BM_ReadHostilePage(benchmark::State& state) {
    const qsizetype size = 10 * kMegabyte * state.range(0) / 100;
    QString page;
    const QString pieces[] = {QStringLiteral("<metadata name=\"x\">"), QStringLiteral("<meta name=\"a\" content=\"b\" "),
                              QStringLiteral("<link rel=\"x\" "), QStringLiteral("name=\"n\" content=\"")};
    for (int i = 0; page.size() < size; ++i) page += pieces[i % 4];
    page += QStringLiteral("<meta ");  // and not one ">" after the last half of the page
    const QString tail(size / 2, QLatin1Char('<'));
    page += tail;
    for (auto _ : state) benchmark::DoNotOptimize(MetaReader::readPageRecord(page, false));
    state.SetBytesProcessed(state.iterations() * page.size() * 2);
}
BENCHMARK(BM_ReadHostilePage)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond);

static void BM_RewritePage(benchmark::State& state) {
    const int percent = int(state.range(0));
    const QString page = makePage(10 * kMegabyte * percent / 100, 5000 * percent / 100);
    const MetadataRecord record = makeRecord(500 * percent / 100);
    const QString links = QStringLiteral("<link rel=\"schema.AGLS\" href=\"http://www.naa.gov.au/agls/1.2\">");
    for (auto _ : state)
        benchmark::DoNotOptimize(MetaWriter::rewritePage(page, record, links, QStringLiteral("Y")));
    state.SetBytesProcessed(state.iterations() * page.size() * 2);
}
BENCHMARK(BM_RewritePage)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond);

// A page of values never closed, unfinished links, declarations and tags, meta elements
// glued into unfinished ones, saved with one line of its record deleted.
static void BM_RewriteUnfinishedPage(benchmark::State& state) {
    const qsizetype size = 10 * kMegabyte * state.range(0) / 100;
    QString page = QStringLiteral("<html><head>");
    const QString pieces[] = {QStringLiteral("<meta name=\"a\" content=\"never closed "),
                              QStringLiteral("<link rel=\"x\" href=\"y\"\r\n"), QStringLiteral("<!x "),
                              QStringLiteral("<meta <meta name=\"b\" content=\"1\">"), QStringLiteral("<p title=\"t ")};
    for (int i = 0; page.size() < size; ++i) page += pieces[i % 5];
    page += QStringLiteral("</head><body>b</body></html>");
    MetadataRecord record = MetaReader::readPageRecord(page, false);
    record.removeAt(record.size() / 2);
    for (auto _ : state) benchmark::DoNotOptimize(MetaWriter::rewritePage(page, record, {}, QStringLiteral("N")));
    state.SetBytesProcessed(state.iterations() * page.size() * 2);
}
BENCHMARK(BM_RewriteUnfinishedPage)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond);

static void BM_MetaBlockAndBatch(benchmark::State& state) {
    const MetadataRecord record = makeRecord(int(5000 * state.range(0) / 100));
    for (auto _ : state) {
        benchmark::DoNotOptimize(MetaWriter::MakeMetaIntoSource(record));
        benchmark::DoNotOptimize(MetaWriter::batchFileText(record));
    }
}
BENCHMARK(BM_MetaBlockAndBatch)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond);

static void BM_RdfOfRecord(benchmark::State& state) {
    const QString block = MetaWriter::MakeMetaIntoSource(makeRecord(int(5000 * state.range(0) / 100)));
    const QString namespaces = QStringLiteral("    xmlns:dc=\"http://purl.org/dc/elements/1.1/\"\r\n"
                                              "    xmlns:dcq=\"http://purl.org/dc/qualifiers/1.0/\">\r\n");
    const QString address = QStringLiteral("www.example.org/page.htm");
    for (auto _ : state)
        benchmark::DoNotOptimize(RdfWriter::MakeMetaIntoRDF(address, block, namespaces, QStringLiteral("dc")));
}
BENCHMARK(BM_RdfOfRecord)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond);

// `prepare` turns the plain content into what the coder is given: decoders get text full of
// what they decode.
static void BM_ContentCoding(benchmark::State& state, QString (*code)(const QString&),
                             QString (*prepare)(const QString&)) {
    const qsizetype size = kMegabyte * state.range(0) / 100;
    QString content = makeContent(size);
    if (prepare) {
        content = prepare(content);
        content.truncate(size);
    }
    for (auto _ : state) benchmark::DoNotOptimize(code(content));
    state.SetBytesProcessed(state.iterations() * content.size() * 2);
}
BENCHMARK_CAPTURE(BM_ContentCoding, encode_entities, &modCharEncoding::encodeHtmlEntities, nullptr)
    ->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ContentCoding, decode_entities, &modCharEncoding::decodeHtmlEntities, &modCharEncoding::encodeHtmlEntities)
    ->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ContentCoding, encode_percent, &modCharEncoding::encodePercentEscapes, nullptr)
    ->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ContentCoding, decode_percent, &modCharEncoding::decodePercentEscapes, &modCharEncoding::encodePercentEscapes)
    ->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond);

static void BM_FixUtf8Quotes(benchmark::State& state) {
    QString page = makePage(10 * kMegabyte * state.range(0) / 100, 0);
    page.replace(QStringLiteral("\"quotes\""), QStringView(u"\u00E2\u20AC\u02DCquotes\u00E2\u20AC\u2122").toString());
    for (auto _ : state) benchmark::DoNotOptimize(modCharEncoding::fixUtf8Quotes(page));
    state.SetBytesProcessed(state.iterations() * page.size() * 2);
}
BENCHMARK(BM_FixUtf8Quotes)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

// A page as a user's file holds it: bytes, read into the record the way the page loader does
// (decoded, told apart from harvest lists and channels, link rows and meta lines read). The
// counter x_memchr is the time over a memchr pass for every "<" of the same bytes, measured
// in the same run: the read must stay within a few such passes.
static double memchrPassSeconds(const QByteArray& bytes) {
    const auto start = std::chrono::steady_clock::now();
    int rounds = 0;
    std::size_t found = 0;
    for (; rounds < 20; ++rounds) {
        const char* p = bytes.constData();
        const char* end = p + bytes.size();
        while ((p = static_cast<const char*>(std::memchr(p, '<', std::size_t(end - p))))) {
            ++found;
            ++p;
        }
    }
    benchmark::DoNotOptimize(found);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / rounds;
}

// The page in UTF-8 (arg 1) or in Windows-1252 (arg 0), where every meta element is looked
// at for a declaration before the bytes are decoded.
static void BM_ReadPageFromBytes(benchmark::State& state) {
    const int percent = int(state.range(0));
    const QString text = makePage(10 * kMegabyte * percent / 100, 5000 * percent / 100);
    const QByteArray bytes = state.range(1) ? text.toUtf8() : text.toLatin1();
    const double memchrSeconds = memchrPassSeconds(bytes);
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        const platform::DecodedText page = PageEncoding::decodePage(bytes);
        const MetaReader::PageReading reading = MetaReader::readPage(page.text, false);
        if (reading.kind != MetaReader::PageTextKind::Record) state.SkipWithError("not a page");
        benchmark::DoNotOptimize(reading.lines.size());
    }
    const double perRead =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / double(state.iterations());
    state.SetBytesProcessed(state.iterations() * bytes.size());
    state.counters["memchr_ms"] = memchrSeconds * 1000;
    state.counters["x_memchr"] = perRead / memchrSeconds;
}
BENCHMARK(BM_ReadPageFromBytes)->ArgsProduct({{50, 100}, {1, 0}})->Unit(benchmark::kMillisecond);

// A page written back in its encoding: Windows-1252 (arg 0) or ISO-2022-JP (arg 1), with one
// character in fifty one the encoding lacks, each written as a reference.
static void BM_WritePageInItsEncoding(benchmark::State& state) {
    const int percent = int(state.range(0));
    QString text = makePage(10 * kMegabyte * percent / 100, 5000 * percent / 100);
    const QString lacking = state.range(1) ? QStringLiteral("\u20AC") : QStringLiteral("\u65E5");
    for (qsizetype i = 25; i < text.size(); i += 50) text[i] = lacking.at(0);
    const platform::TextEncoding encoding{state.range(1) ? QStringLiteral("ISO-2022-JP") : QStringLiteral("windows-1252"),
                                          false};
    for (auto _ : state) benchmark::DoNotOptimize(platform::encodePageText(text, encoding).size());
    state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(BM_WritePageInItsEncoding)->ArgsProduct({{50, 100}, {0, 1}})->Unit(benchmark::kMillisecond);

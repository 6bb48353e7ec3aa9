// SPDX-License-Identifier: GPL-3.0-or-later
// The content model's hot paths: parsing an answer, folding an answer into a long history,
// building the root with many saved lookups.
#include "Application/CorrelationLookupNode.h"
#include "Application/HistoryNode.h"
#include "Application/MainNode.h"
#include "Platform/TextNumbers.h"
#include "Platform/UserDefaults.h"
#include "Service/TaggedAnswer.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QRandomGenerator>

#include <array>
#include <cstring>
#include <string_view>

namespace {

// About 1 MiB in about 17,000 records, written by the service's own answer writer.
const QByteArray& largeAnswer()
{
    static const QByteArray answer = [] {
        SimilarArtistList similar;
        for (int i = 0; i < 17000; ++i)
            similar.append({QStringLiteral("Similar Artist Number %1").arg(i), 100 - i % 100 + 0.25, double(i % 100)});
        return taggedAnswer(QStringLiteral("Asked"), 100, similar);
    }();
    return answer;
}

char byteOf(QChar c)
{
    return char(c.unicode());
}

char byteOf(char c)
{
    return c;
}

// The reference for the parser: the plainest single pass that makes the same records from a
// well-formed answer. Each search starts where the last one ended; nothing is checked, no name
// is decoded (the benchmark's names have nothing to decode), and the numbers are read from a
// buffer on the stack. The parser must in addition survive any text and decode names.
// The tags, as views of the same kind as the text searched, so each search compares like with
// like: "<r>", "<a>", "</a>", "<c>", "</c>", "<p>", "</p>".
template <typename View>
using Tags = std::array<View, 7>;
const Tags<QStringView> textTags{u"<r>", u"<a>", u"</a>", u"<c>", u"</c>", u"<p>", u"</p>"};
const Tags<QByteArrayView> byteTags{"<r>", "<a>", "</a>", "<c>", "</c>", "<p>", "</p>"};

template <typename View>
std::vector<Correlation> scanCorrelations(View xml, const Tags<View>& tags, QString (*toName)(View))
{
    std::vector<Correlation> records;
    auto number = [](View text) {
        char bytes[64];
        const std::size_t n = std::min<std::size_t>(std::size_t(text.size()), sizeof bytes);
        for (std::size_t i = 0; i < n; ++i)
            bytes[i] = byteOf(text[i]);
        return floatValue(std::string_view(bytes, n));
    };
    auto between = [&xml](std::size_t& at, View open, View close) {
        const std::size_t start = std::size_t(xml.indexOf(open, qsizetype(at))) + 3;
        const std::size_t end = std::size_t(xml.indexOf(close, qsizetype(start)));
        at = end + 4;
        return xml.sliced(qsizetype(start), qsizetype(end - start));
    };
    qsizetype at = xml.indexOf(tags[0]);
    at = xml.indexOf(tags[0], at + 3); // the artist asked for
    while (at >= 0) {
        std::size_t position = std::size_t(at) + 3;
        Correlation record;
        record.name = toName(between(position, tags[1], tags[2]));
        record.rating = number(between(position, tags[3], tags[4]));
        record.popularity = number(between(position, tags[5], tags[6]));
        records.push_back(std::move(record));
        at = xml.indexOf(tags[0], qsizetype(position));
    }
    return records;
}

bool sameRecords(const std::vector<Correlation>& a, const std::vector<Correlation>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const Correlation& x, const Correlation& y) {
        return x.name == y.name && x.rating == y.rating && x.popularity == y.popularity;
    });
}

std::vector<Correlation> scanText(QStringView text)
{
    return scanCorrelations<QStringView>(text, textTags, [](QStringView name) { return name.toString(); });
}

std::vector<Correlation> scanBytes(QByteArrayView bytes)
{
    return scanCorrelations<QByteArrayView>(bytes, byteTags, [](QByteArrayView name) { return QString::fromUtf8(name); });
}

// Parses the input again and again, counting the answer's bytes and the records made.
template <typename Input, typename Parse>
void measureParsing(benchmark::State& state, const Input& input, Parse parse)
{
    std::size_t records = 0;
    for (auto _ : state) {
        const std::vector<Correlation> parsed = parse(input);
        records = parsed.size();
        benchmark::DoNotOptimize(parsed.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * largeAnswer().size());
    state.counters["records"] = double(records);
}

void BM_parseCorrelations(benchmark::State& state)
{
    const QString text = QString::fromUtf8(largeAnswer());
    if (!sameRecords(CorrelationLookupNode::parseCorrelations(text), scanText(text)))
        state.SkipWithError("the parser and the reference scanner disagree");
    measureParsing(state, text, [](const QString& input) { return CorrelationLookupNode::parseCorrelations(input); });
}
BENCHMARK(BM_parseCorrelations)->Unit(benchmark::kMillisecond);

// The parser's reference: the single-pass scanner over the same text.
void BM_parseCorrelationsReferenceScanner(benchmark::State& state)
{
    measureParsing(state, QString::fromUtf8(largeAnswer()), [](const QString& input) { return scanText(input); });
}
BENCHMARK(BM_parseCorrelationsReferenceScanner)->Unit(benchmark::kMillisecond);

// The same scanner over the answer's UTF-8 bytes, names made into text as they are found: what
// reading the bytes without decoding the whole answer first would cost.
void BM_parseCorrelationsReferenceByteScanner(benchmark::State& state)
{
    if (!sameRecords(scanBytes(largeAnswer()), scanText(QString::fromUtf8(largeAnswer()))))
        state.SkipWithError("the two reference scanners disagree");
    measureParsing(state, largeAnswer(), [](const QByteArray& input) { return scanBytes(input); });
}
BENCHMARK(BM_parseCorrelationsReferenceByteScanner)->Unit(benchmark::kMillisecond);

// The ceiling: one pass over the same bytes finding every '<'.
void BM_memchrScan(benchmark::State& state)
{
    const QByteArray& bytes = largeAnswer();
    for (auto _ : state) {
        std::size_t found = 0;
        const char* at = bytes.constData();
        const char* end = at + bytes.size();
        while ((at = static_cast<const char*>(std::memchr(at, '<', std::size_t(end - at))))) {
            ++found;
            ++at;
        }
        benchmark::DoNotOptimize(found);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes.size());
}
BENCHMARK(BM_memchrScan)->Unit(benchmark::kMillisecond);

// One 100-record answer (half of it artists already known) into a history of exactly N
// records, the forty shown rows rebuilt included. Every iteration starts from the same
// history, rebuilt while the clock is stopped, so the label says what is measured.
void BM_addCorrelations(benchmark::State& state)
{
    const auto history = HistoryNode::instance();
    const int size = int(state.range(0));
    std::vector<Correlation> seed;
    for (int i = 0; i < size; ++i)
        seed.push_back(Correlation{QStringLiteral("Known %1").arg(i), float(i % 997), 0});

    QRandomGenerator random(7);
    int fresh = 0;
    for (auto _ : state) {
        state.PauseTiming();
        history->resetHistory();
        history->addCorrelations(seed);
        if (history->historicalCorrelationCount() != std::size_t(size))
            state.SkipWithError("the history does not start at its size");
        std::vector<Correlation> received;
        for (int i = 0; i < 50; ++i)
            received.push_back(Correlation{QStringLiteral("Known %1").arg(random.bounded(size)), float(random.bounded(100)), 0});
        for (int i = 0; i < 50; ++i)
            received.push_back(Correlation{QStringLiteral("Fresh %1").arg(fresh++), float(random.bounded(100)), 0});
        state.ResumeTiming();
        history->addCorrelations(received);
    }
    history->resetHistory();
}
// A fixed number of iterations: rebuilding the history between them takes far longer than
// the fold measured.
BENCHMARK(BM_addCorrelations)->Arg(10000)->Iterations(400)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_addCorrelations)->Arg(100000)->Iterations(100)->Unit(benchmark::kMicrosecond);

// The root with 500 saved lookups, as built at start-up.
void BM_buildRootWith500Lookups(benchmark::State& state)
{
    QStringList names;
    for (int i = 0; i < 500; ++i)
        names.append(QStringLiteral("Saved Artist %1").arg(i));
    UserDefaults::standardUserDefaults().setObjectForKey(names, QStringLiteral("CorrelationLookupNodes"));
    for (auto _ : state) {
        auto root = Node::make<MainNode>();
        benchmark::DoNotOptimize(root.get());
        state.PauseTiming();
        root.reset();
        QCoreApplication::processEvents(); // let scheduled first polls and loads run and go
        state.ResumeTiming();
    }
}
BENCHMARK(BM_buildRootWith500Lookups)->Unit(benchmark::kMillisecond);

} // namespace

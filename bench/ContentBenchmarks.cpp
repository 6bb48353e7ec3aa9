// The content model's hot paths: parsing an answer, folding an answer into a long history,
// building the root with many saved lookups.
#include "Application/CorrelationLookupNode.h"
#include "Application/HistoryNode.h"
#include "Application/MainNode.h"
#include "Platform/UserDefaults.h"
#include "Service/TaggedAnswer.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QRandomGenerator>

#include <cstring>

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

void BM_parseCorrelations(benchmark::State& state)
{
    const QString text = QString::fromUtf8(largeAnswer());
    std::size_t records = 0;
    for (auto _ : state) {
        const auto parsed = CorrelationLookupNode::parseCorrelations(text);
        records = parsed.size();
        benchmark::DoNotOptimize(parsed.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * largeAnswer().size());
    state.counters["records"] = double(records);
}
BENCHMARK(BM_parseCorrelations)->Unit(benchmark::kMillisecond);

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

// One 100-record answer (half of it artists already known) into a history of N records.
void BM_addCorrelations(benchmark::State& state)
{
    const auto history = HistoryNode::instance();
    history->resetHistory();
    const int size = int(state.range(0));
    std::vector<Correlation> seed;
    for (int i = 0; i < size; ++i)
        seed.push_back(Correlation{QStringLiteral("Known %1").arg(i), float(i % 997), 0});
    history->addCorrelations(seed);

    QRandomGenerator random(7);
    int fresh = 0;
    for (auto _ : state) {
        state.PauseTiming();
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
BENCHMARK(BM_addCorrelations)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

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

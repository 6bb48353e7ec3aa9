#include "Application/HistoryNode.h"

#include "Platform/UserDefaults.h"
#include "RKKit/RKExtensions/Events.h"

#include <QTimer>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
const QString historyKey = QStringLiteral("HistoricalCorrelations");

// Undefined totals (a sum of opposite infinities) rank last, so the order stays a strict one.
float rankingKey(float rating)
{
    return std::isnan(rating) ? -std::numeric_limits<float>::infinity() : rating;
}

// Totals stop at the largest float instead of becoming infinite, which could not be stored.
float finiteRating(double value)
{
    constexpr double largest = std::numeric_limits<float>::max();
    return std::isnan(value) ? 0.0f : float(std::clamp(value, -largest, largest));
}

// Adds the rating to the list's record of that name, appending a record for a new name.
void addToSums(std::vector<Correlation>& sums, QHash<QString, std::size_t>& index, const QString& name, float rating)
{
    auto it = index.find(name);
    if (it == index.end()) {
        it = index.insert(name, sums.size());
        sums.push_back(Correlation{name, 0.0f, 0.0f});
    }
    Correlation& sum = sums[*it];
    sum.rating = finiteRating(double(sum.rating) + double(rating));
}
} // namespace

std::shared_ptr<HistoryNode> HistoryNode::instance()
{
    static const std::shared_ptr<HistoryNode> history = Node::node<HistoryNode>();
    return history;
}

void HistoryNode::init()
{
    CorrelationContainerNode::init();
    std::weak_ptr<HistoryNode> weak = self<HistoryNode>();
    QTimer::singleShot(0, QCoreApplication::instance(), [weak] {
        if (auto history = weak.lock())
            history->loadDefaults();
    });
    Events::listenForNotificationSelector(self<HistoryNode>(), ApplicationWillTerminateNotification, &HistoryNode::saveDefaults);
}

void HistoryNode::addHeaderNodes()
{
    addNode(Node::nodeWithPrimary<TitleNode>(primaryString()));
}

bool HistoryNode::ranksBefore(const std::unique_ptr<Record>& a, const std::unique_ptr<Record>& b)
{
    const float ra = rankingKey(a->correlation.rating);
    const float rb = rankingKey(b->correlation.rating);
    if (ra != rb)
        return ra > rb;
    return a->serial < b->serial;
}

void HistoryNode::addCorrelations(const std::vector<Correlation>& correlations)
{
    for (const Correlation& received : correlations)
        addToSums(m_received, m_receivedIndex, received.name, received.rating);
    fold(correlations);
}

void HistoryNode::fold(const std::vector<Correlation>& correlations)
{
    std::size_t changedCount = 0;
    for (const Correlation& received : correlations) {
        Record*& slot = m_nameToHistoricalCorrelation[received.name];
        if (!slot) {
            auto record = std::make_unique<Record>();
            record->correlation = HistoricalCorrelation(received.name, 0.0f);
            record->serial = m_nextSerial++;
            slot = record.get();
            m_ranking.push_back(std::move(record));
        }
        slot->correlation.rating = finiteRating(double(slot->correlation.rating) + double(received.rating));
        if (!slot->changed) {
            slot->changed = true;
            ++changedCount;
        }
    }
    rerank(changedCount);

    setRootNodeInBrowserColumn(nullptr, 2);
    removeAllNodes();
    createNodes();
}

// Only the records of the last answer moved: take them out, sort them, and merge them back
// into the rest, which is still in order. Linear in the length of the history, instead of a
// full sort after every answer.
void HistoryNode::rerank(std::size_t changedCount)
{
    if (changedCount == 0)
        return;
    if (changedCount * 8 > m_ranking.size()) {
        std::sort(m_ranking.begin(), m_ranking.end(), ranksBefore);
    } else {
        const auto firstChanged = std::stable_partition(m_ranking.begin(), m_ranking.end(),
                                                        [](const std::unique_ptr<Record>& r) { return !r->changed; });
        std::sort(firstChanged, m_ranking.end(), ranksBefore);
        std::inplace_merge(m_ranking.begin(), firstChanged, m_ranking.end(), ranksBefore);
    }
    for (const auto& record : m_ranking)
        record->changed = false;
}

void HistoryNode::createNodes()
{
    const std::size_t n = std::min(m_ranking.size(), shownRows);
    std::vector<Correlation> shown;
    shown.reserve(n);
    for (std::size_t i = 0; i < n; ++i)
        shown.push_back(m_ranking[i]->correlation);
    setCorrelations(shown);

    QStringList names;
    for (std::size_t i = 0; i < std::min(m_ranking.size(), summaryNames); ++i)
        names.append(m_ranking[i]->correlation.name);
    setSecondary(names.join(QStringLiteral(", ")));

    updateBrowserTables();
}

// The stored ranking, at most its `storedRecords` best entries (a larger file, from an older
// build or another writer, would only slow the start), ratings made finite.
std::vector<Correlation> HistoryNode::storedCorrelations()
{
    std::vector<Correlation> stored;
    const QVariantList array = UserDefaults::standardUserDefaults().arrayForKey(historyKey).value_or(QVariantList());
    stored.reserve(std::size_t(array.size()));
    for (const QVariant& element : array) {
        const QVariantMap dictionary = element.toMap();
        // An element without a name cannot be keyed; skip it rather than merge it under "".
        if (dictionary.value(QStringLiteral("Name")).typeId() != QMetaType::QString)
            continue;
        Correlation record = HistoricalCorrelation::initWithDictionary(dictionary);
        record.rating = finiteRating(double(record.rating));
        stored.push_back(std::move(record));
    }
    if (stored.size() > storedRecords) {
        std::stable_sort(stored.begin(), stored.end(),
                         [](const Correlation& a, const Correlation& b) { return rankingKey(a.rating) > rankingKey(b.rating); });
        stored.resize(storedRecords);
    }
    return stored;
}

void HistoryNode::loadDefaults()
{
    fold(storedCorrelations());
}

void HistoryNode::saveDefaults()
{
    UserDefaults& defaults = UserDefaults::standardUserDefaults();
    defaults.synchronize(); // read what is stored now, which another writer may have changed
    std::vector<Correlation> merged;
    QHash<QString, std::size_t> index;
    for (const Correlation& stored : storedCorrelations()) // a name stored twice becomes one record, as at loading
        addToSums(merged, index, stored.name, stored.rating);
    for (const Correlation& received : m_received)
        addToSums(merged, index, received.name, received.rating);
    std::stable_sort(merged.begin(), merged.end(),
                     [](const Correlation& a, const Correlation& b) { return rankingKey(a.rating) > rankingKey(b.rating); });
    if (merged.size() > storedRecords)
        merged.resize(storedRecords);

    QVariantList array;
    array.reserve(qsizetype(merged.size()));
    for (const Correlation& record : merged)
        array.append(HistoricalCorrelation(record.name, record.rating).dictionary());
    defaults.setObjectForKey(array, historyKey);
    // Now part of the stored ranking: a later save must not add it again.
    m_received.clear();
    m_receivedIndex.clear();
}

void HistoryNode::resetHistory()
{
    m_nameToHistoricalCorrelation.clear();
    m_ranking.clear();
    m_received.clear();
    m_receivedIndex.clear();
}

std::vector<HistoricalCorrelation> HistoryNode::historicalCorrelations() const
{
    std::vector<HistoricalCorrelation> list;
    list.reserve(m_ranking.size());
    for (const auto& record : m_ranking)
        list.push_back(record->correlation);
    return list;
}

const HistoricalCorrelation* HistoryNode::historicalCorrelationNamed(const QString& name) const
{
    const Record* record = m_nameToHistoricalCorrelation.value(name);
    return record ? &record->correlation : nullptr;
}

// SPDX-License-Identifier: GPL-3.0-or-later
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

bool HistoryNode::ranksBefore(const Record& a, const Record& b)
{
    const float ra = rankingKey(a.correlation.rating);
    const float rb = rankingKey(b.correlation.rating);
    if (ra != rb)
        return ra > rb;
    return a.serial < b.serial;
}

void HistoryNode::addCorrelations(const std::vector<Correlation>& correlations)
{
    for (const Correlation& received : correlations)
        addToSums(m_received, m_receivedIndex, received.name, received.rating);
    fold(correlations);
}

void HistoryNode::fold(const std::vector<Correlation>& correlations)
{
    // First find every record the answer touches, before any total changes: the ranking is
    // still in order, so where each known record stands can be found by a binary search.
    std::vector<Record*> changed;
    std::vector<Record*> slots; // the record of each received one, in order
    slots.reserve(correlations.size());
    std::vector<std::size_t> oldPositions;
    std::vector<std::unique_ptr<Record>> added;
    bool ordered = true;
    for (const Correlation& received : correlations) {
        Record*& slot = m_nameToHistoricalCorrelation[received.name];
        if (!slot) {
            auto record = std::make_unique<Record>();
            record->correlation = HistoricalCorrelation(received.name, 0.0f);
            record->serial = m_nextSerial++;
            slot = record.get();
            added.push_back(std::move(record));
        } else if (!slot->changed) {
            const auto at = std::lower_bound(m_ranking.begin(), m_ranking.end(), slot,
                                             [](const std::unique_ptr<Record>& r, const Record* s) { return ranksBefore(*r, *s); });
            ordered = ordered && at != m_ranking.end() && at->get() == slot;
            oldPositions.push_back(std::size_t(at - m_ranking.begin()));
        }
        if (!slot->changed) {
            slot->changed = true;
            changed.push_back(slot);
        }
        slots.push_back(slot);
    }
    const bool fullSort = !ordered || changed.size() * 8 > m_ranking.size() + added.size();
    for (std::size_t i = 0; i < correlations.size(); ++i)
        slots[i]->correlation.rating = finiteRating(double(slots[i]->correlation.rating) + double(correlations[i].rating));
    rerank(std::move(oldPositions), std::move(added), fullSort);
    for (Record* record : changed)
        record->changed = false;

    setRootNodeInBrowserColumn(nullptr, 2);
    removeAllNodes();
    createNodes();
}

// Only the records of the last answer moved: take them out, sort them, and put each back
// where a binary search over the rest, which is still in order, says it belongs. The records
// that did not move are only shifted along, never compared, so an answer costs a pass over
// the list's pointers rather than a visit to every record (or a full sort).
void HistoryNode::rerank(std::vector<std::size_t> oldPositions, std::vector<std::unique_ptr<Record>> added, bool fullSort)
{
    if (fullSort) {
        for (auto& record : added)
            m_ranking.push_back(std::move(record));
        std::sort(m_ranking.begin(), m_ranking.end(), [](const auto& a, const auto& b) { return ranksBefore(*a, *b); });
        return;
    }
    std::sort(oldPositions.begin(), oldPositions.end());
    std::vector<std::unique_ptr<Record>> moved = std::move(added);
    std::size_t kept = oldPositions.empty() ? m_ranking.size() : oldPositions.front();
    for (std::size_t p = 0; p < oldPositions.size(); ++p) {
        moved.push_back(std::move(m_ranking[oldPositions[p]]));
        const std::size_t end = p + 1 < oldPositions.size() ? oldPositions[p + 1] : m_ranking.size();
        for (std::size_t i = oldPositions[p] + 1; i < end; ++i)
            m_ranking[kept++] = std::move(m_ranking[i]);
    }
    m_ranking.resize(kept);
    if (moved.empty())
        return;
    std::sort(moved.begin(), moved.end(), [](const auto& a, const auto& b) { return ranksBefore(*a, *b); });
    std::vector<std::size_t> insertAt;
    insertAt.reserve(moved.size());
    for (const auto& record : moved)
        insertAt.push_back(std::size_t(std::lower_bound(m_ranking.begin(), m_ranking.end(), record.get(),
                                                        [](const std::unique_ptr<Record>& r, const Record* s) { return ranksBefore(*r, *s); })
                                       - m_ranking.begin()));
    // Merge from the back, so every record is shifted once.
    m_ranking.resize(kept + moved.size());
    std::size_t restEnd = kept;
    for (std::size_t j = moved.size(); j-- > 0;) {
        std::move_backward(m_ranking.begin() + std::ptrdiff_t(insertAt[j]), m_ranking.begin() + std::ptrdiff_t(restEnd),
                           m_ranking.begin() + std::ptrdiff_t(restEnd + j + 1));
        restEnd = insertAt[j];
        m_ranking[insertAt[j] + j] = std::move(moved[j]);
    }
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

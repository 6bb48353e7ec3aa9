// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// "Your Recommendations": every answer any lookup receives is folded in here. Each artist's
// ratings are summed, the artists are ranked by their totals, and the forty best are shown.
// The ranking is stored at quit, its best `storedRecords` entries, and read back at the next
// start. Storing merges: what this run received is added to the ranking stored now, so a
// second instance (or any other writer) that saved meanwhile loses nothing.

#include "Application/Correlation.h"
#include "Application/CorrelationNode.h"

#include <QHash>

#include <memory>
#include <vector>

class HistoryNode : public CorrelationContainerNode {
public:
    static constexpr std::size_t shownRows = 40;
    static constexpr std::size_t summaryNames = 3;
    static constexpr std::size_t storedRecords = 20000;

    // The one history of the process, made at first request.
    static std::shared_ptr<HistoryNode> instance();

    void init() override;
    // A caption with this node's own primary text.
    void addHeaderNodes() override;

    // Sums the ratings into the ranking, empties the columns from the third on and rebuilds
    // the rows. An empty list still rebuilds.
    void addCorrelations(const std::vector<Correlation>& correlations);
    // The forty best as rows, and the three best names as the second line.
    void createNodes();
    void loadDefaults();
    void saveDefaults();
    // Forgets every record; neither rebuilds the rows nor writes the store.
    void resetHistory();

    // The ranking, highest total first.
    std::vector<HistoricalCorrelation> historicalCorrelations() const;
    std::size_t historicalCorrelationCount() const { return m_ranking.size(); }
    const HistoricalCorrelation* historicalCorrelationNamed(const QString& name) const;

private:
    struct Record {
        HistoricalCorrelation correlation;
        quint64 serial = 0; // a fixed order among equal totals: the earlier-seen record first
        bool changed = false;
    };
    static bool ranksBefore(const Record& a, const Record& b);
    static std::vector<Correlation> storedCorrelations();
    void fold(const std::vector<Correlation>& correlations);
    // Puts the records that moved back in order: those at the old positions, whose totals
    // changed, and the new ones; or sorts the whole list when many changed.
    void rerank(std::vector<std::size_t> oldPositions, std::vector<std::unique_ptr<Record>> added, bool fullSort);

    std::vector<std::unique_ptr<Record>> m_ranking;
    QHash<QString, Record*> m_nameToHistoricalCorrelation;
    quint64 m_nextSerial = 0;
    // The ratings this run received, per name and in first-received order: what saving adds
    // to the stored ranking.
    std::vector<Correlation> m_received;
    QHash<QString, std::size_t> m_receivedIndex;
};

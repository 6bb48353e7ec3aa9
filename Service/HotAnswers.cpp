// SPDX-License-Identifier: GPL-3.0-or-later
#include "Service/HotAnswers.h"

HotAnswers::HotAnswers(Limits limits)
    : m_limits(limits)
{
}

std::optional<HotAnswers::Answer> HotAnswers::find(const QString& artist)
{
    const auto it = m_index.constFind(artist);
    if (it == m_index.constEnd())
        return std::nullopt;
    const auto entry = *it;
    if (entry->fresh.hasExpired()) {
        erase(entry);
        return std::nullopt;
    }
    m_entries.splice(m_entries.begin(), m_entries, entry);
    return entry->answer;
}

void HotAnswers::insert(const QString& artist, Answer answer, QDeadlineTimer fresh)
{
    if (const auto it = m_index.constFind(artist); it != m_index.constEnd())
        erase(*it);
    const qsizetype bytes = answer.body.size() + answer.source.size() + artist.size() * qsizetype(sizeof(QChar))
        + entryOverheadBytes;
    if (fresh.hasExpired() || bytes > m_limits.maxBytes / 16 || m_limits.maxEntries <= 0)
        return;
    while (!m_entries.empty() && (size() >= m_limits.maxEntries || m_bytes + bytes > m_limits.maxBytes))
        erase(std::prev(m_entries.end()));
    m_entries.push_front(Entry{artist, std::move(answer), fresh, bytes});
    m_index.insert(artist, m_entries.begin());
    m_bytes += bytes;
}

void HotAnswers::clear()
{
    m_entries.clear();
    m_index.clear();
    m_bytes = 0;
}

void HotAnswers::erase(std::list<Entry>::iterator entry)
{
    m_bytes -= entry->bytes;
    m_index.remove(entry->artist);
    m_entries.erase(entry);
}

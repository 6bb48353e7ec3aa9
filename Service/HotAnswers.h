// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDeadlineTimer>
#include <QHash>
#include <QString>

#include <list>
#include <optional>

// The finished bytes of the answers asked for most recently, so an artist many clients ask
// for is answered without reading the cache file or writing the answer again. An answer is
// kept only while it is fresh, and the whole is bounded: past `maxEntries` answers or
// `maxBytes` (bodies, names and a per-entry allowance for the bookkeeping), the least
// recently asked go first. An answer larger than a sixteenth of the bound is not kept, so
// one answer cannot push out all the others.
class HotAnswers {
public:
    struct Limits {
        qsizetype maxEntries = 4096;
        qsizetype maxBytes = 16 * 1024 * 1024;
    };
    struct Answer {
        QByteArray body;
        QByteArray source;
    };
    static constexpr qsizetype entryOverheadBytes = 256;

    HotAnswers() = default;
    explicit HotAnswers(Limits limits);

    // The answer kept for exactly this name, if it is still fresh; it becomes the most
    // recently asked.
    std::optional<Answer> find(const QString& artist);
    // Keeps the answer until `fresh` expires, replacing one of the same name.
    void insert(const QString& artist, Answer answer, QDeadlineTimer fresh);
    void clear();

    qsizetype size() const { return qsizetype(m_entries.size()); }
    qsizetype bytes() const { return m_bytes; }
    const Limits& limits() const { return m_limits; }

private:
    struct Entry {
        QString artist;
        Answer answer;
        QDeadlineTimer fresh;
        qsizetype bytes = 0;
    };
    void erase(std::list<Entry>::iterator entry);

    Limits m_limits;
    std::list<Entry> m_entries; // most recently asked first
    QHash<QString, std::list<Entry>::iterator> m_index;
    qsizetype m_bytes = 0;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A lookup entry for one artist name: when selected, it asks the similar-artist service once,
// turns the tagged answer into rated rows and folds it into the recommendation history.

#include "Application/CorrelationNode.h"
#include "Platform/URLConnection.h"

#include <QStringDecoder>

#include <memory>
#include <optional>

class CorrelationLookupNode : public CorrelationContainerNode, public URLConnectionDelegate {
public:
    // An answer larger than this is cut off: the transfer is cancelled and nothing is parsed.
    static constexpr qsizetype maximumAnswerBytes = 8 * 1024 * 1024;

    // The service address up to the artist name, and what follows the name. The service's
    // base address is the defaults key "ServiceURL" (registered default http://127.0.0.1:8642).
    static QString urlPrefix();
    static QString urlPostfix();

    void nodeWasSelected() override;
    // Starts a lookup unless this entry asked before or the name is empty.
    void lookupCorrelations(const QString& name);
    // Drops the transfer (no later piece of it arrives) and all rows but the header.
    void releaseCorrelations();

    void connectionDidReceiveData(URLConnection& connection, const QByteArray& data) override;
    void connectionDidFinishLoading(URLConnection& connection) override;

    // Parses the answer received so far.
    std::vector<Correlation> parseCorrelations() const;
    // The tagged answer: records split at "<r>", the piece before the first and the first
    // record skipped; in each later piece the first <a>…</a>, <c>…</c> and <p>…</p>.
    static std::vector<Correlation> parseCorrelations(QStringView xml);

    const URLConnection* connection() const { return m_connection.get(); }
    // The answer text while a lookup is on its way.
    const std::optional<QString>& xml() const { return m_xml; }

private:
    std::shared_ptr<URLConnection> m_connection;
    std::optional<QString> m_xml;
    QStringDecoder m_decoder; // UTF-8, kept across pieces so a split character survives
    qsizetype m_receivedBytes = 0;
};

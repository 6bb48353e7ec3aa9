// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// "Brondel's Picks": a hand-made list of albums kept as a property list next to the service.
// The first selection downloads it and shows each pick as an album row with its own cover.

#include "Application/Node.h"
#include "Platform/URLConnection.h"

#include <QByteArray>

#include <memory>
#include <optional>
#include <vector>

class BrondelNode : public Node, public URLConnectionDelegate {
public:
    // A picks list larger than this is not parsed.
    static constexpr qsizetype maximumListBytes = 1024 * 1024;

    // The list's address: the service's base address followed by "/picks.plist".
    static QString picksURL();

    void addHeaderNodes() override;
    bool mightHaveSubnodes() const override { return true; }
    void nodeWasSelected() override;
    // Starts the download unless it was started before.
    void downloadPlist();

    void connectionDidReceiveData(URLConnection& connection, const QByteArray& data) override;
    void connectionDidFinishLoading(URLConnection& connection) override;

    const URLConnection* connection() const { return m_connection.get(); }

    // One pick as the list gives it; a key the pick lacks is none.
    struct Pick {
        std::optional<QString> artist, album, description, image;
    };
    // The picks of a list in XML or binary form, in list order. A pick is skipped when it is
    // not a dictionary, when a text entry is not a string, or when a string holds a NUL; an
    // "Image" that is not a string is treated as missing. Anything that is not a picks list
    // (no dictionary with an "Artists" array) gives none.
    static std::optional<std::vector<Pick>> picksFromPropertyList(const QByteArray& bytes);

private:
    void addPicksFromPropertyList(const QByteArray& bytes);

    std::shared_ptr<URLConnection> m_connection;
    std::optional<QByteArray> m_data;
};

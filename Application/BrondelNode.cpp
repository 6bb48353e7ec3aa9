// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application/BrondelNode.h"
#include "Platform/LoggingCategories.h"

#include "Application/ArtistAlbumNode.h"
#include "Application/ServiceAddress.h"

#include <plist/plist.h>

#include <cstring>
#include <memory>

namespace {

// The property list is read with libplist's C interface: the C++ wrapper of libplist 2.2
// loses the elements of arrays nested in dictionaries.
struct PlistDeleter {
    void operator()(plist_t node) const { plist_free(node); }
};
using PlistPointer = std::unique_ptr<void, PlistDeleter>;

PlistPointer parsePropertyList(const QByteArray& bytes)
{
    plist_t root = nullptr;
    if (bytes.isEmpty())
        return nullptr;
    if (plist_is_binary(bytes.constData(), uint32_t(bytes.size())))
        plist_from_bin(bytes.constData(), uint32_t(bytes.size()), &root);
    else
        plist_from_xml(bytes.constData(), uint32_t(bytes.size()), &root);
    return PlistPointer(root);
}

// The text of a string entry of the pick; none when the key is missing; false when the entry
// is there but is not a string, or holds a NUL byte (XML "&#0;" or the binary form): strings
// are read with their length, as libplist's zero-terminated reader stops on such a string.
bool readText(plist_t pick, const char* key, std::optional<QString>& text)
{
    const plist_t item = plist_dict_get_item(pick, key);
    if (!item)
        return true;
    if (plist_get_node_type(item) != PLIST_STRING)
        return false;
    uint64_t length = 0;
    const char* value = plist_get_string_ptr(item, &length);
    if (!value && length > 0)
        return false;
    if (value && std::memchr(value, 0, std::size_t(length)))
        return false;
    text = QString::fromUtf8(value, qsizetype(length));
    return true;
}

} // namespace

QString BrondelNode::picksURL()
{
    return serviceURL() + QStringLiteral("/picks") + QStringLiteral(".plist");
}

void BrondelNode::addHeaderNodes()
{
    addNode(Node::nodeWithPrimary<TitleNode>(primaryString()));
}

void BrondelNode::nodeWasSelected()
{
    downloadPlist();
}

void BrondelNode::downloadPlist()
{
    if (m_connection)
        return;
    m_data = QByteArray();
    std::shared_ptr<URLConnectionDelegate> delegate(self<BrondelNode>(), static_cast<URLConnectionDelegate*>(this));
    m_connection = URLConnection::initWithRequestDelegate(requestWithURL(URLWithString(picksURL())), delegate);
}

void BrondelNode::connectionDidReceiveData(URLConnection& connection, const QByteArray& data)
{
    if (&connection != m_connection.get() || !m_data)
        return;
    if (m_data->size() + data.size() > maximumListBytes) {
        qCWarning(lcNetwork) << "the picks list is larger than" << maximumListBytes << "bytes; ignored";
        connection.cancel();
        m_data.reset();
        return;
    }
    m_data->append(data);
}

void BrondelNode::connectionDidFinishLoading(URLConnection& connection)
{
    if (&connection != m_connection.get() || !m_data)
        return;
    m_isLoaded = true;
    addPicksFromPropertyList(*m_data);
    m_data.reset();
}

std::optional<std::vector<BrondelNode::Pick>> BrondelNode::picksFromPropertyList(const QByteArray& bytes)
{
    const PlistPointer root = parsePropertyList(bytes);
    if (!root || plist_get_node_type(root.get()) != PLIST_DICT)
        return std::nullopt;
    const plist_t picks = plist_dict_get_item(root.get(), "Artists");
    if (!picks || plist_get_node_type(picks) != PLIST_ARRAY)
        return std::nullopt;
    std::vector<Pick> list;
    const uint32_t count = plist_array_get_size(picks);
    for (uint32_t i = 0; i < count; ++i) {
        const plist_t item = plist_array_get_item(picks, i);
        if (!item || plist_get_node_type(item) != PLIST_DICT)
            continue;
        Pick pick;
        if (!readText(item, "Artist", pick.artist) || !readText(item, "Album", pick.album)
            || !readText(item, "Description", pick.description))
            continue;
        if (!readText(item, "Image", pick.image))
            pick.image.reset(); // a cover address that is not a text: the placeholder stays
        list.push_back(std::move(pick));
    }
    return list;
}

void BrondelNode::addPicksFromPropertyList(const QByteArray& bytes)
{
    const auto picks = picksFromPropertyList(bytes);
    if (!picks)
        return; // not a picks list: no rows, and the tables stay as they are
    for (const Pick& pick : *picks) {
        auto row = Node::node<ArtistAlbumNode>();
        if (pick.artist)
            row->setArtist(*pick.artist);
        if (pick.album)
            row->setAlbum(*pick.album);
        if (pick.description)
            row->setDescription(*pick.description);
        addNode(row);
        if (pick.image)
            row->setAlbumImageURL(URLWithString(*pick.image));
    }
    updateBrowserTables();
}

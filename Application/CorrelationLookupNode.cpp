// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application/CorrelationLookupNode.h"
#include "Platform/LoggingCategories.h"

#include "Application/AdView.h"
#include "Application/Correlation.h"
#include "Application/HistoryNode.h"
#include "Application/ServiceAddress.h"
#include "Platform/TextNumbers.h"
#include "RKKit/RKExtensions/NSStringExtensions.h"

#include <QDebug>

#include <algorithm>
#include <array>
#include <limits>

namespace {

// A number too large for a float ("1e39") reads as the largest float, not as infinity: an
// infinite rating would make every sum it enters infinite and could not be stored.
float numberIn(QStringView text)
{
    // Enough characters for any number; the rest of a long text cannot change the value read.
    // The reader only acts on ASCII, and stops at anything else: any other character may
    // stand in for a non-ASCII one, so the text is read from a small buffer on the stack.
    const QStringView number = text.trimmed().left(64);
    char bytes[64];
    for (qsizetype i = 0; i < number.size(); ++i) {
        const char16_t u = number[i].unicode();
        bytes[i] = u < 0x80 ? char(u) : char(0x80);
    }
    const float value = floatValue(std::string_view(bytes, std::size_t(number.size())));
    return std::clamp(value, -std::numeric_limits<float>::max(), std::numeric_limits<float>::max());
}

// The code point of a character reference's body ("amp", "#233", "#x1F600"), if it is one
// XML allows.
std::optional<char32_t> referencedCharacter(QStringView body)
{
    static constexpr std::pair<QLatin1StringView, char32_t> entities[] = {
        {QLatin1StringView("amp"), U'&'}, {QLatin1StringView("lt"), U'<'}, {QLatin1StringView("gt"), U'>'},
        {QLatin1StringView("quot"), U'"'}, {QLatin1StringView("apos"), U'\''},
    };
    for (const auto& [name, character] : entities) {
        if (body == name)
            return character;
    }
    if (body.size() < 2 || body[0] != QLatin1Char('#'))
        return std::nullopt;
    const bool hex = body[1] == QLatin1Char('x');
    const QStringView digits = body.sliced(hex ? 2 : 1);
    if (digits.isEmpty())
        return std::nullopt;
    char32_t value = 0;
    for (const QChar c : digits) {
        const char16_t u = c.unicode();
        int digit = u >= u'0' && u <= u'9' ? u - u'0' : -1;
        if (hex && u >= u'a' && u <= u'f')
            digit = u - u'a' + 10;
        else if (hex && u >= u'A' && u <= u'F')
            digit = u - u'A' + 10;
        if (digit < 0)
            return std::nullopt;
        value = value * (hex ? 16 : 10) + char32_t(digit);
        if (value > 0x10FFFF)
            return std::nullopt;
    }
    const bool allowed = value == 0x9 || value == 0xA || value == 0xD || (value >= 0x20 && value <= 0xD7FF)
        || (value >= 0xE000 && value <= 0xFFFD) || value >= 0x10000;
    return allowed ? std::optional<char32_t>(value) : std::nullopt;
}

// A name as the service escaped it for XML: the five predefined entities and numeric
// character references are decoded. An "&" that starts none of them stays as it is, as
// older services sent names unescaped ("Simon & Garfunkel").
QString decodedName(QStringView text)
{
    qsizetype ampersand = text.indexOf(QLatin1Char('&'));
    if (ampersand < 0)
        return text.toString();
    QString name;
    name.reserve(text.size());
    qsizetype copied = 0;
    // The first ";" at or after the current "&"; kept between them, so a name with many "&"
    // and few ";" is still read in one pass.
    qsizetype semicolon = -1;
    while (ampersand >= 0) {
        if (semicolon < ampersand + 1)
            semicolon = text.indexOf(QLatin1Char(';'), ampersand + 1);
        if (semicolon < 0)
            break; // no reference can end after here
        const auto character = referencedCharacter(text.sliced(ampersand + 1, semicolon - ampersand - 1));
        if (character) {
            name += text.sliced(copied, ampersand - copied);
            const char32_t c[] = {*character};
            name += QString::fromUcs4(c, 1);
            copied = semicolon + 1;
        }
        ampersand = text.indexOf(QLatin1Char('&'), character ? semicolon + 1 : ampersand + 1);
    }
    name += text.sliced(copied);
    return name;
}

} // namespace

QString CorrelationLookupNode::urlPrefix()
{
    return serviceURL() + QStringLiteral("/similar") + QStringLiteral("?artist=");
}

QString CorrelationLookupNode::urlPostfix()
{
    return QStringLiteral("&format=") + QStringLiteral("tagged");
}

void CorrelationLookupNode::nodeWasSelected()
{
    lookupCorrelations(primaryString());
    if (AdView* banner = AdView::instance())
        banner->setKeywords(primaryString());
}

void CorrelationLookupNode::lookupCorrelations(const QString& name)
{
    if (m_connection || name.isEmpty())
        return;
    const QUrl url = URLWithString(urlPrefix() + StringExtensions::stringByEscapingURLComponent(name) + urlPostfix());
    m_xml = QString();
    m_decoder = QStringDecoder(QStringDecoder::Utf8);
    m_receivedBytes = 0;
    std::shared_ptr<URLConnectionDelegate> delegate(self<CorrelationLookupNode>(), static_cast<URLConnectionDelegate*>(this));
    m_connection = URLConnection::initWithRequestDelegate(requestWithURL(url), delegate);
}

void CorrelationLookupNode::releaseCorrelations()
{
    if (m_connection)
        m_connection->cancel();
    m_connection.reset();
    m_xml.reset();
    removeAllNodes();
}

void CorrelationLookupNode::connectionDidReceiveData(URLConnection& connection, const QByteArray& data)
{
    if (&connection != m_connection.get() || !m_xml)
        return; // a transfer this entry has dropped
    m_receivedBytes += data.size();
    if (m_receivedBytes > maximumAnswerBytes) {
        qCWarning(lcNetwork) << "the answer for" << primaryString() << "exceeds" << maximumAnswerBytes << "bytes; ignored";
        connection.cancel();
        m_xml.reset();
        return;
    }
    m_xml->append(m_decoder.decode(data));
}

void CorrelationLookupNode::connectionDidFinishLoading(URLConnection& connection)
{
    if (&connection != m_connection.get() || !m_xml)
        return;
    m_xml->append(m_decoder.decode(QByteArray())); // an unfinished character at the end becomes U+FFFD
    m_isLoaded = true;
    const std::vector<Correlation> correlations = parseCorrelations();
    setCorrelations(correlations);
    HistoryNode::instance()->addCorrelations(correlations);
    if (correlations.empty())
        addNode(Node::node<NothingFoundNode>());
    updateBrowserTables();
    m_xml.reset();
}

std::vector<Correlation> CorrelationLookupNode::parseCorrelations() const
{
    return m_xml ? parseCorrelations(*m_xml) : std::vector<Correlation>{};
}

// One pass over the text: every "<" is looked at once. A record is the text between one "<r>"
// and the next (or the end); in it, each field is the text between the first open tag and the
// first close tag of its kind, and the record is dropped when either is missing, the close tag
// comes first, or the name is empty. The first record is the artist asked for, and skipped.
std::vector<Correlation> CorrelationLookupNode::parseCorrelations(QStringView xml)
{
    // First positions in the current record of "<a>", "</a>", "<c>", "</c>", "<p>", "</p>".
    enum Tag { NameOpen, NameClose, RatingOpen, RatingClose, PopularityOpen, PopularityClose, TagCount };
    std::array<qsizetype, TagCount> first{};
    first.fill(-1);
    constexpr qsizetype tagLength = 3; // of an open tag, which is where the field's text starts
    auto field = [&xml, &first](Tag open) -> std::optional<QStringView> {
        const qsizetype start = first[open];
        const qsizetype end = first[open + 1];
        if (start < 0 || end < 0 || end < start + tagLength)
            return std::nullopt;
        return xml.sliced(start + tagLength, end - start - tagLength);
    };

    std::vector<Correlation> correlations;
    int recordsStarted = 0; // the first is skipped, and nothing is read before it
    auto finishRecord = [&] {
        if (recordsStarted < 2)
            return;
        const auto name = field(NameOpen);
        const auto rating = field(RatingOpen);
        const auto popularity = field(PopularityOpen);
        if (!name || !rating || !popularity || name->isEmpty())
            return; // a broken record would only make a garbage row
        Correlation record;
        record.name = decodedName(*name);
        record.rating = numberIn(*rating);
        record.popularity = numberIn(*popularity);
        correlations.push_back(std::move(record));
    };

    const char16_t* const text = xml.utf16();
    const qsizetype size = xml.size();
    auto at = [text, size](qsizetype i) { return i < size ? text[i] : u'\0'; };
    for (qsizetype i = 0; i < size; ++i) {
        if (text[i] != u'<')
            continue;
        const char16_t c1 = at(i + 1);
        const char16_t c2 = at(i + 2);
        if (c1 == u'r' && c2 == u'>') {
            finishRecord();
            ++recordsStarted;
            first.fill(-1);
            i += 2;
            continue;
        }
        if (recordsStarted < 2)
            continue;
        const bool close = c1 == u'/';
        const char16_t letter = close ? c2 : c1;
        if (at(i + (close ? 3 : 2)) != u'>')
            continue;
        const int kind = letter == u'a' ? NameOpen : letter == u'c' ? RatingOpen : letter == u'p' ? PopularityOpen : -1;
        if (kind < 0)
            continue;
        qsizetype& position = first[std::size_t(kind + (close ? 1 : 0))];
        if (position < 0)
            position = i;
    }
    finishRecord();
    return correlations;
}

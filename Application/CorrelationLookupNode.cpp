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
#include <limits>

namespace {

// The text between the first open tag and the first close tag of the piece; none when either
// is missing or the close tag comes first.
std::optional<QStringView> tagged(QStringView piece, QLatin1StringView open, QLatin1StringView close)
{
    const qsizetype start = piece.indexOf(open);
    const qsizetype end = piece.indexOf(close);
    if (start < 0 || end < 0 || end < start + open.size())
        return std::nullopt;
    return piece.mid(start + open.size(), end - start - open.size());
}

// A number too large for a float ("1e39") reads as the largest float, not as infinity: an
// infinite rating would make every sum it enters infinite and could not be stored.
float numberIn(QStringView text)
{
    // Enough characters for any number; the rest of a long text cannot change the value read.
    const float value = floatValue(text.trimmed().left(64).toUtf8().toStdString());
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
    QString name;
    name.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) {
            const qsizetype semicolon = text.indexOf(QLatin1Char(';'), i + 1);
            const auto character = semicolon < 0 ? std::nullopt : referencedCharacter(text.sliced(i + 1, semicolon - i - 1));
            if (character) {
                const char32_t c[] = {*character};
                name += QString::fromUcs4(c, 1);
                i = semicolon;
                continue;
            }
        }
        name += text[i];
    }
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
        qCWarning(lcNetwork, "the answer for \"%s\" exceeds %lld bytes; ignored",
                 qPrintable(primaryString()), static_cast<long long>(maximumAnswerBytes));
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

std::vector<Correlation> CorrelationLookupNode::parseCorrelations(QStringView xml)
{
    static constexpr QLatin1StringView marker("<r>");
    std::vector<Correlation> correlations;
    qsizetype at = xml.indexOf(marker);
    if (at < 0)
        return correlations;
    at = xml.indexOf(marker, at + marker.size()); // skip the first record: the artist asked for
    while (at >= 0) {
        const qsizetype start = at + marker.size();
        const qsizetype next = xml.indexOf(marker, start);
        const QStringView piece = xml.mid(start, next < 0 ? xml.size() - start : next - start);
        at = next;

        const auto name = tagged(piece, QLatin1StringView("<a>"), QLatin1StringView("</a>"));
        const auto rating = tagged(piece, QLatin1StringView("<c>"), QLatin1StringView("</c>"));
        const auto popularity = tagged(piece, QLatin1StringView("<p>"), QLatin1StringView("</p>"));
        if (!name || !rating || !popularity || name->isEmpty())
            continue; // a broken record would only make a garbage row
        Correlation record;
        record.name = decodedName(*name);
        record.rating = numberIn(*rating);
        record.popularity = numberIn(*popularity);
        correlations.push_back(std::move(record));
    }
    return correlations;
}

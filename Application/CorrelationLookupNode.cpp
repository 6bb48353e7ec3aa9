#include "Application/CorrelationLookupNode.h"

#include "Application/AdView.h"
#include "Application/Correlation.h"
#include "Application/HistoryNode.h"
#include "Application/ServiceAddress.h"
#include "Platform/TextNumbers.h"
#include "RKKit/RKExtensions/NSStringExtensions.h"

#include <QDebug>

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

float numberIn(QStringView text)
{
    // Enough characters for any number; the rest of a long text cannot change the value read.
    return floatValue(text.trimmed().left(64).toUtf8().toStdString());
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
        qWarning("CorrelationLookupNode: the answer for \"%s\" exceeds %lld bytes; ignored",
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
        record.name = name->toString();
        record.rating = numberIn(*rating);
        record.popularity = numberIn(*popularity);
        correlations.push_back(std::move(record));
    }
    return correlations;
}

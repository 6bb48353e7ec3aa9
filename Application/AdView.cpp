#include "Application/AdView.h"

#include <QPointer>

namespace {
QPointer<AdView>& recordedInstance()
{
    static QPointer<AdView> instance;
    return instance;
}
} // namespace

AdView::AdView(QWidget* parent)
    : QWidget(parent)
{
    recordedInstance() = this;
}

AdView::~AdView() = default;

AdView* AdView::instance()
{
    return recordedInstance();
}

void AdView::setKeywords(const QString& keywords)
{
    m_keywords = keywords;
}

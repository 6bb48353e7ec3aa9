// SPDX-License-Identifier: GPL-3.0-or-later
#include "RKKit/RKMetalBox.h"

#include <QPainter>
#include <QVBoxLayout>

namespace {

const QColor& gray(float value)
{
    static const QColor dark = QColor::fromRgbF(0.4f, 0.4f, 0.4f);
    static const QColor mid = QColor::fromRgbF(0.576471f, 0.576471f, 0.576471f);
    static const QColor light = QColor::fromRgbF(0.878431f, 0.878431f, 0.878431f);
    static const QColor lightest = QColor::fromRgbF(0.941176f, 0.941176f, 0.941176f);
    return value < 0.5f ? dark : value < 0.7f ? mid : value < 0.9f ? light : lightest;
}

} // namespace

RKMetalBox::RKMetalBox(QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(0);
}

void RKMetalBox::setContentView(QWidget* content)
{
    layout()->addWidget(content);
}

void RKMetalBox::paintEvent(QPaintEvent*)
{
    if (!m_shouldDisplay)
        return;
    QPainter painter(this);
    const qreal w = width(), h = height();
    // The dark inner line: the band from 1 to 2 points inside every edge.
    painter.fillRect(QRectF(1, 1, w - 2, 1), gray(0.4f));
    painter.fillRect(QRectF(1, h - 2, w - 2, 1), gray(0.4f));
    painter.fillRect(QRectF(1, 2, 1, h - 4), gray(0.4f));
    painter.fillRect(QRectF(w - 2, 2, 1, h - 4), gray(0.4f));
    // The outer ring, corners left out: sides light, bottom lightest, top mid.
    painter.fillRect(QRectF(0, 1, 1, h - 2), gray(0.878431f));
    painter.fillRect(QRectF(w - 1, 1, 1, h - 2), gray(0.878431f));
    painter.fillRect(QRectF(1, h - 1, w - 2, 1), gray(0.941176f));
    painter.fillRect(QRectF(1, 0, w - 2, 1), gray(0.576471f));
}

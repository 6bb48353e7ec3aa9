// SPDX-License-Identifier: GPL-3.0-or-later
#include "RKKit/RKTableScrollView.h"

#include "RKKit/RKTableView.h"

#include <QVBoxLayout>

RKTableScrollView::RKTableScrollView(QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
}

void RKTableScrollView::setDocumentView(RKTableView* table)
{
    m_table = table;
    if (QWidget* header = table->headerView())
        layout()->addWidget(header);
    layout()->addWidget(table);
}

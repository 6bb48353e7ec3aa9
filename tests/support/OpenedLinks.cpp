// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/OpenedLinks.h"

#include <QDesktopServices>

OpenedLinks::OpenedLinks(const QStringList& schemes)
    : m_schemes(schemes)
{
    for (const QString& scheme : m_schemes)
        QDesktopServices::setUrlHandler(scheme, this, "open");
}

OpenedLinks::~OpenedLinks()
{
    for (const QString& scheme : m_schemes)
        QDesktopServices::unsetUrlHandler(scheme);
}

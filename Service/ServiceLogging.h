// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The service's logging categories. Turn one on with, for example,
// QT_LOGGING_RULES="corvale.service.upstream.info=true".

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcServiceHttp)
Q_DECLARE_LOGGING_CATEGORY(lcServiceUpstream)
Q_DECLARE_LOGGING_CATEGORY(lcServiceCache)

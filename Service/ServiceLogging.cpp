// SPDX-License-Identifier: GPL-3.0-or-later
#include "Service/ServiceLogging.h"

Q_LOGGING_CATEGORY(lcServiceHttp, "corvale.service.http")
Q_LOGGING_CATEGORY(lcServiceUpstream, "corvale.service.upstream")
Q_LOGGING_CATEGORY(lcServiceCache, "corvale.service.cache")

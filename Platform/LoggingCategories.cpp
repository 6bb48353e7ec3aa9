// SPDX-License-Identifier: GPL-3.0-or-later
#include "Platform/LoggingCategories.h"

Q_LOGGING_CATEGORY(lcNetwork, "corvale.network")
Q_LOGGING_CATEGORY(lcPlayer, "corvale.player")
Q_LOGGING_CATEGORY(lcDefaults, "corvale.defaults")
Q_LOGGING_CATEGORY(lcImages, "corvale.images")
Q_LOGGING_CATEGORY(lcBrowser, "corvale.browser")
Q_LOGGING_CATEGORY(lcApplication, "corvale.application")

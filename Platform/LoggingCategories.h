// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One logging category per area of the application. Turn one on with, for example,
// QT_LOGGING_RULES="corvale.images.debug=true".

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcNetwork)
Q_DECLARE_LOGGING_CATEGORY(lcPlayer)
Q_DECLARE_LOGGING_CATEGORY(lcDefaults)
Q_DECLARE_LOGGING_CATEGORY(lcImages)
Q_DECLARE_LOGGING_CATEGORY(lcBrowser)
Q_DECLARE_LOGGING_CATEGORY(lcApplication)

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The base address of the similar-artist service, without a trailing "/": the defaults key
// "ServiceURL", whose registered default is the local corvale-service, http://127.0.0.1:8642.
QString serviceURL();

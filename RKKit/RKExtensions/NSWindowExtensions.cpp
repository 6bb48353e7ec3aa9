// SPDX-License-Identifier: GPL-3.0-or-later
#include "RKKit/RKExtensions/NSWindowExtensions.h"

namespace WindowExtensions {

bool isTextured(const QWidget* /*window*/)
{
    return false;
}

} // namespace WindowExtensions

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace WindowExtensions {

// False: windows on this platform have no textured style.
bool isTextured(const QWidget* window);

} // namespace WindowExtensions

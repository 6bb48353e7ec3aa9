// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The banner's web view over Qt WebEngine, in a library of its own that only the program links
// (the tests do without a web engine). install() makes AdView use it.
namespace AdWebView {
void install();
}

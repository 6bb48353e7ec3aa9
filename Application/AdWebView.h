// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The banner's web view, over Qt WebEngine, in a module of its own (libcorvale-banner.so) that
// the program loads at run time once its window has painted: the web engine's libraries cost
// tens of milliseconds and of megabytes just to be loaded, which a start without the banner
// (or before it) should not pay. The module knows nothing of the application: the banner
// hands it its navigation policy and hears when a page has loaded.

#include <QUrl>

#include <functional>

class QWidget;

struct AdWebViewHooks {
    // Whether a navigation loads in the banner; byUser is false for the page's own loads.
    std::function<bool(const QUrl& url, bool byUser)> acceptNavigation;
    // A page and its frame have loaded.
    std::function<void()> loaded;
};

// The module's one entry point: a web view in the parent, black, without a context menu, with
// an invokable showPage(QString html) that loads a page text.
extern "C" using AdWebViewFactory = QWidget* (*)(QWidget* parent, const AdWebViewHooks* hooks);
inline constexpr const char* adWebViewFactorySymbol = "corvale_make_banner_view";

namespace AdWebView {
// Makes AdView load the module (once, when it starts its web view) and use it; false when the
// module cannot be found or loaded (the banner then stays black).
void install();
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Quits the application's event loop when the process is asked to end (SIGTERM at logout or
// from a service manager, SIGINT from a terminal, SIGHUP when the terminal goes away), so the
// usual quit path runs and nothing stored is lost. The handler only writes to a pipe; the
// quitting happens on the main thread.
void quitOnTerminationSignals();

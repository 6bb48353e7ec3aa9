// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The application object: every event is dispatched inside a guard, so an exception escaping
// one handler is logged (its text alone), the debugger hook is called, and the event loop goes
// on with the next event.

#include <QApplication>

class RKApplication : public QApplication {
    Q_OBJECT
public:
    RKApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Stops in the debugger when one is attached to the process; does nothing otherwise.
    static void Debugger();

    // Speaks the locale's language where a translation exists (the program's own and Qt's),
    // replacing any installed before; English otherwise.
    static void installTranslations(const QLocale& locale);
};

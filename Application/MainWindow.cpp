// SPDX-License-Identifier: GPL-3.0-or-later
#include "Application/MainWindow.h"

#include "Application/Browser/BrowserView.h"
#include "Application/Browser/MetaTableView.h"

#include <QApplication>
#include <QMouseEvent>

namespace {

// The node table a widget under the pointer belongs to (its rows' viewport, or itself).
MetaTableView* nodeTableOf(QWidget* widget)
{
    if (auto* table = qobject_cast<MetaTableView*>(widget))
        return table;
    if (widget && widget->parentWidget()) {
        auto* table = qobject_cast<MetaTableView*>(widget->parentWidget());
        if (table && table->viewport() == widget)
            return table;
    }
    return nullptr;
}

} // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent)
    , m_browser(new CVBrowserView(this))
{
    setWindowTitle(QStringLiteral("Corvale"));
    resize(760, 520);
    setCentralWidget(m_browser);
    // Motion without a button reaches the application's filters even over widgets that do not
    // track the pointer, so the window sees every move over any of its parts.
    qApp->installEventFilter(this);
}

MainWindow::~MainWindow()
{
    qApp->removeEventFilter(this);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        auto* motion = static_cast<QMouseEvent*>(event);
        // A move passed on from a widget to its parents comes by again: dispatch it once.
        const bool seen = motion->timestamp() == m_lastMotionTime && motion->globalPosition() == m_lastMotionPosition;
        if (motion->buttons() == Qt::NoButton && widget->window() == this && !seen) {
            m_lastMotionTime = motion->timestamp();
            m_lastMotionPosition = motion->globalPosition();
            sendPointerMotion(motion);
        }
    } else if (event->type() == QEvent::Leave && watched == this) {
        sendPointerMotion(nullptr);
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::sendPointerMotion(const QMouseEvent* event)
{
    QWidget* view = nullptr;
    if (event) {
        const QPoint inWindow = mapFromGlobal(event->globalPosition().toPoint());
        view = childAt(inWindow);
    }
    MetaTableView* table = nodeTableOf(view);
    QWidget* current = m_currentView;
    if (view != current) {
        if (MetaTableView* old = nodeTableOf(current))
            old->mouseExited(event);
        if (table)
            table->mouseEntered(event);
        m_currentView = view;
    }
    if (table)
        table->mouseMoved(event);
}

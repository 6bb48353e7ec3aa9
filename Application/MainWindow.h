// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>
#include <QPointer>

class BrowserView;
class QMouseEvent;

// The one window of Corvale: the column browser, the banner and the artist field live here.
// It follows the pointer for the browser's tables: every motion without a button over the
// window goes to the table under it (exit from the table left first, then entry and motion).
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    BrowserView* browserView() const { return m_browser; }
    // Hands one pointer motion (no button pressed) to the node tables.
    void sendPointerMotion(const QMouseEvent* event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    BrowserView* m_browser;
    QPointer<QWidget> m_currentView;
    quint64 m_lastMotionTime = 0;
    QPointF m_lastMotionPosition;
};

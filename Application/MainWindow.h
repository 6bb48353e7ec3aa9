// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>
#include <QPointer>

class AdView;
class BrowserView;
class MainController;
class QLineEdit;
class QMouseEvent;
class RKSplitView;

// The one window of Corvale. At the top, in a framed pane, the artist field and the banner; below
// a divider the user can drag, the column browser. Menus carry the controller's commands. The
// window's size and place are kept in the defaults store. It follows the pointer for the
// browser's tables: every motion without a button goes to the table under it (exit from the
// table left first, then entry and motion).
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    BrowserView* browserView() const { return m_browser; }
    MainController* controller() const { return m_controller; }
    QLineEdit* artistField() const { return m_artistField; }
    AdView* banner() const { return m_banner; }
    RKSplitView* splitView() const { return m_split; }

    // Hands one pointer motion (no button pressed) to the node tables.
    void sendPointerMotion(const QMouseEvent* event);
    // Stores the window's size and place.
    void saveFrame() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void restoreFrame();

    BrowserView* m_browser;
    QLineEdit* m_artistField;
    AdView* m_banner;
    RKSplitView* m_split;
    MainController* m_controller;
    QPointer<QWidget> m_currentView;
    quint64 m_lastMotionTime = 0;
    QPointF m_lastMotionPosition;
};

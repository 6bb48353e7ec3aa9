// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A panel with an engraved gray frame two points wide around whatever it holds: a darker top
// edge, lighter sides, the lightest bottom edge and a dark inner line. Its contents sit inside
// the frame. The frame can be switched off.

#include <QWidget>

class RKMetalBox : public QWidget {
    Q_OBJECT
public:
    explicit RKMetalBox(QWidget* parent = nullptr);

    bool shouldDisplay() const { return m_shouldDisplay; }
    // Takes effect at the next repaint.
    void setShouldDisplay(bool display) { m_shouldDisplay = display; }
    // Holds the widget inside the frame.
    void setContentView(QWidget* content);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_shouldDisplay = true;
};

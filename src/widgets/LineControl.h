// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

// A straight line drawn on its parent, with end points in twips relative to
// the parent's inside. It covers the parent so the ends can go anywhere, and
// lets every mouse event through to what lies below.
class LineControl : public QWidget {
    Q_OBJECT
public:
    explicit LineControl(QWidget* parent);

    void setPoints(int x1, int y1, int x2, int y2);
    int x1() const { return m_x1; }
    int y1() const { return m_y1; }
    int x2() const { return m_x2; }
    int y2() const { return m_y2; }

Q_SIGNALS:
    // The line moved.
    void pointsChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    int m_x1 = 0, m_y1 = 0, m_x2 = 0, m_y2 = 0;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

// A picture that acts as a button: a press and release on it is a click, and
// so is Space, Return or Enter while it has the keyboard focus, which Tab
// gives it when it takes focus at all (setFocusPolicy); it then shows a focus
// frame. Its accessible name and description tell a screen reader what it
// does.
class ImageButton : public QLabel {
    Q_OBJECT
public:
    ImageButton(const QString& accessibleName, QWidget* parent = nullptr);

Q_SIGNALS:
    void clicked();

protected:
    // What began as a click became something else (a drag): no click.
    void cancelClick() { m_pressed = false; }
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_pressed = false;
};

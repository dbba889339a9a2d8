// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLabel>

// A picture that acts as a button: a press and release on it is a click.
// It never takes the keyboard focus; its accessible name tells a screen
// reader what it does.
class ImageButton : public QLabel {
    Q_OBJECT
public:
    ImageButton(const QString& accessibleName, QWidget* parent = nullptr);

Q_SIGNALS:
    void clicked();

protected:
    // What began as a click became something else (a drag): no click.
    void cancelClick() { m_pressed = false; }
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_pressed = false;
};

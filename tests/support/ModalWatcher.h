// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QPointer>

// While it lives, answers each modal window (message box or dialog) as it
// shows, by default by closing it, and remembers what it said. The answer
// comes as the next event of the modal window's own loop, never after a
// fixed time.
class ModalWatcher : public QObject {
public:
    QStringList seen;
    std::function<void(QWidget*)> answer = [](QWidget* modal) { modal->close(); };

    ModalWatcher() { qApp->installEventFilter(this); }

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(object);
        if (event->type() == QEvent::Show && widget != nullptr && widget->isWindow() &&
            widget->isModal()) {
            auto* box = qobject_cast<QMessageBox*>(widget);
            seen << (box ? box->text() : widget->windowTitle());
            QMetaObject::invokeMethod(
                this,
                [this, modal = QPointer<QWidget>(widget)] {
                    if (modal)
                        answer(modal);
                },
                Qt::QueuedConnection);
        }
        return false;
    }
};

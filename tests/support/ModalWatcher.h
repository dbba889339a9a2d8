// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

// While it lives, answers each modal window (message box or dialog) that
// shows, by default by closing it, and remembers what it said.
struct ModalWatcher {
    QStringList seen;
    std::function<void(QWidget*)> answer = [](QWidget* modal) { modal->close(); };
    QTimer timer;

    ModalWatcher() {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                auto* box = qobject_cast<QMessageBox*>(modal);
                seen << (box ? box->text() : modal->windowTitle());
                answer(modal);
            }
        });
        timer.start(20);
    }
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "widgets/MousePointer.h"

#include <QEventLoop>
#include <QThread>

#include <memory>
#include <optional>

// Does work that takes a moment (a large page drawn, a file saved) on another
// thread while this one goes on handling the window events, as a wait does:
// the windows repaint at once and a click runs its handler, which guards
// against running twice. Shows the busy pointer meanwhile and the arrow
// afterwards, and returns the work's result.
template <typename Work>
auto BusyWork(Work work) -> decltype(work()) {
    using Result = decltype(work());
    MousePointer::hourglass();
    std::optional<Result> result;
    QEventLoop loop;
    std::unique_ptr<QThread> thread(QThread::create([&] { result = work(); }));
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit,
                     Qt::QueuedConnection);
    thread->start();
    // The program may be asked to end meanwhile: the loop then returns early,
    // and the work is still waited for, so it never outlives what it uses.
    loop.exec();
    thread->wait();
    MousePointer::arrow();
    return std::move(*result);
}

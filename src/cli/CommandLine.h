// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/CalendarRequest.h"

#include <QCommandLineParser>
#include <QRectF>
#include <QStringList>
#include <optional>

// Reads ostrabel-cli's command line: GNU-style options with Dutch names, and
// the output file whose extension chooses the format.
class CommandLine {
public:
    enum class Action { Make, Help, Version, Usage };

    explicit CommandLine(const QStringList& arguments);

    Action action() const { return m_action; }
    // Filled when the action is Make.
    const CalendarRequest& request() const { return m_request; }
    // Why the command line is wrong and what to type instead, when the action is Usage.
    const QString& problem() const { return m_problem; }
    QString helpText() const { return m_parser.helpText(); }

private:
    Action read(const QStringList& arguments);
    Action usage(const QString& problem);
    // Each returns what is wrong, or nothing.
    QString readOutput();
    QString readPage();
    QString readCalendar();
    // "X,Y,B,H" in fractions of the photo, inside it and not empty.
    static std::optional<QRectF> cropNamed(const QString& text);

    QCommandLineParser m_parser;
    CalendarRequest m_request;
    QString m_problem;
    Action m_action;
};

#pragma once

#include <QString>

// What became of one print request: printed, or a short message for the user
// saying why not and what to do. A refused request has sent nothing.
struct PrintOutcome {
    bool printed = false;
    QString message;

    static PrintOutcome done() { return {true, {}}; }
    static PrintOutcome refused(const QString& message) { return {false, message}; }
};

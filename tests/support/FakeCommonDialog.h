#pragma once

#include "main_window/CommonDialog.h"

#include <QStringList>

// Answers the file dialogs from a script instead of a person: each ask takes
// the next answer; an empty answer is Cancel. Refusals are recorded.
class FakeCommonDialog : public CommonDialog {
public:
    QStringList answers;
    QStringList filtersSeen;
    QStringList refusals;
    int asked = 0;

protected:
    QString askOpenFileName(QWidget*, const QString& qtFilter) override { return next(qtFilter); }
    QString askSaveFileName(QWidget*, const QString& qtFilter, bool) override {
        return next(qtFilter);
    }
    void refuse(QWidget*, const QString& message) override { refusals << message; }

private:
    QString next(const QString& qtFilter) {
        ++asked;
        filtersSeen << qtFilter;
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "widgets/CommonDialog.h"

#include <QStringList>

// Answers the file dialogs from a script instead of a person: each ask takes
// the next answer; an empty answer is Cancel. Refusals are recorded.
class FakeCommonDialog : public CommonDialog {
public:
    QStringList answers;
    QList<int> filterChoices; // the entry each save answer chooses, from 1; none keeps it
    QStringList filtersSeen;
    QStringList refusals;

protected:
    QString askOpenFileName(QWidget*, const QString& filter) override { return next(filter); }
    QString askSaveFileName(QWidget*, const QString& filter, QString* chosen, bool) override {
        if (!filterChoices.isEmpty())
            *chosen = filter.split(QStringLiteral(";;")).value(filterChoices.takeFirst() - 1);
        return next(filter);
    }
    void refuse(QWidget*, const QString& message) override { refusals << message; }

private:
    QString next(const QString& filter) {
        filtersSeen << filter;
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

class QWidget;

// The one file dialog of the program, shared by the photo loading and the
// bitmap save. Its settings persist between uses, so whatever the save left
// behind is in force for the next photo dialog.
class CommonDialog : public QObject {
    Q_OBJECT
public:
    enum Flag {
        OverwritePrompt = 0x2,
        NoReadOnlyReturn = 0x8000,
    };

    using QObject::QObject;

    QString fileName;
    // "Description|pattern;pattern", as the program states its filters.
    QString filter;
    // Which of the filter's entries is chosen, from 1: set before a dialog to
    // choose the entry it starts on, read after it for the user's choice.
    int filterIndex = 1;
    int flags = 0;

    // Each returns false when the user cancels; fileName holds the choice.
    bool showOpen(QWidget* parent);
    bool showSave(QWidget* parent);

    // "Frameblock (*.Jpg)|*.jpg;*bmp" becomes "Frameblock (*.Jpg) (*.jpg *bmp)".
    static QString toQtFilter(const QString& filter);

protected:
    // The dialogs themselves; tests replace them. An empty result is Cancel.
    virtual QString askOpenFileName(QWidget* parent, const QString& qtFilter);
    // selectedFilter: the entry shown first, and the one chosen.
    virtual QString askSaveFileName(QWidget* parent, const QString& qtFilter,
                                    QString* selectedFilter, bool confirmOverwrite);
    virtual void refuse(QWidget* parent, const QString& message);
};

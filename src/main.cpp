// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/Main.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ostrabel"));
    QApplication::setApplicationVersion(QStringLiteral(OSTRABEL_VERSION));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/ostrabel.png")));

    // The interface is Dutch, so Qt's own dialogs and buttons speak Dutch too.
    QTranslator qtStrings;
    if (qtStrings.load(QLocale(QLocale::Dutch, QLocale::Netherlands), QStringLiteral("qtbase"),
                       QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtStrings);
    }

    Main window;
    window.show();
    return QApplication::exec();
}

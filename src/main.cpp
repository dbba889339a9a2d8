// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/Main.h"
#include "Version.h"
#include "messages/ProgramSetup.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    ProgramSetup::quietLibraries();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ostrabel"));
    QApplication::setApplicationVersion(QStringLiteral(OSTRABEL_VERSION));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/ostrabel.png")));
    ProgramSetup::speakDutch();

    Main window;
    window.show();
    return QApplication::exec();
}

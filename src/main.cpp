// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/Main.h"
#include "Version.h"
#include "files/FileName.h"
#include "messages/ProgramSetup.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    ProgramSetup::quietLibraries();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ostrabel"));
    QApplication::setApplicationVersion(QStringLiteral(OSTRABEL_VERSION));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/ostrabel.png")));
    ProgramSetup::speakDutch();

    // What Qt left of the arguments are photos to open ("Open with"), as
    // their bytes: a name that is not UTF-8 is the name on disk.
    QStringList photos;
    for (int i = 1; i < argc; ++i) {
        photos << FileName::fromNative(QByteArray(argv[i]));
    }
    Main window;
    window.show();
    // Once the window is up, through the same road as the photo dialog.
    QMetaObject::invokeMethod(
        &window, [&] { window.openPhotos(photos); }, Qt::QueuedConnection);
    return QApplication::exec();
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "messages/ProgramSetup.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>

namespace {

QtMessageHandler qtHandler = nullptr;

// Without a screen to show it on, the window cannot start: Qt would say so in
// English and abort. The person reads why, in Dutch, and the program ends.
[[noreturn]] void noScreen() {
    const QByteArray line =
        QStringLiteral("ostrabel: Het venster kan niet worden geopend: er is geen beeldscherm "
                       "bereikbaar (geen X11- of Wayland-sessie). Start Ostrabel op een "
                       "bureaublad, of maak de kalender met ostrabel-cli.\n")
            .toLocal8Bit();
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::_Exit(1);
}

void onlyWhenAsked(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    const bool asked = qEnvironmentVariableIsSet("QT_LOGGING_RULES");
    if (type == QtFatalMsg && message.contains(QLatin1String("platform plugin")) && !asked)
        noScreen();
    if (type == QtFatalMsg || asked)
        qtHandler(type, context, message);
}

} // namespace

void ProgramSetup::speakDutch() {
    static QTranslator qtStrings;
    if (qtStrings.load(QLocale(QLocale::Dutch, QLocale::Netherlands), QStringLiteral("qtbase"),
                       QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtStrings);
}

void ProgramSetup::quietLibraries() {
    qtHandler = qInstallMessageHandler(onlyWhenAsked);
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "Version.h"
#include "cli/CalendarCommand.h"
#include "cli/CommandLine.h"
#include "cli/StandardOutput.h"
#include "files/FileName.h"
#include "messages/ProgramSetup.h"

#include <QGuiApplication>
#include <QIODevice>

#include <csignal>
#include <cstdio>

namespace {

// File names in a message keep their bytes, so the user sees them as typed.
void say(const QString& line) {
    const QByteArray bytes = FileName::toNative(QStringLiteral("ostrabel-cli: %1\n").arg(line));
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

// The page needs fonts and painting, never a screen, and it is the same page
// in every session: the platform a desktop sets for its windows (wayland,
// xcb without a display, minimal without fonts) and its DPI and scale
// settings do not reach it.
void drawOffscreen() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    for (const char* name :
         {"QT_FONT_DPI", "QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_ENABLE_HIGHDPI_SCALING",
          "QT_USE_PHYSICAL_DPI", "QT_QPA_PLATFORMTHEME"}) {
        qunsetenv(name);
    }
}

} // namespace

int main(int argc, char* argv[]) {
    StandardOutput::secure();
    ProgramSetup::quietLibraries();
    // A reader that goes away or a file-size limit must fail the write that
    // met it, so the program can say so, rather than end it unannounced.
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
    drawOffscreen();

    // The arguments are ours alone: Qt would take -platform and the like
    // from them. Read here, names keep their bytes.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << FileName::fromNative(QByteArray(argv[i]));
    }
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    QGuiApplication::setApplicationVersion(QStringLiteral(OSTRABEL_VERSION));

    // The program speaks Dutch, so Qt's part of the help does too.
    ProgramSetup::speakDutch();

    CommandLine commandLine(arguments);
    QString text;
    switch (commandLine.action()) {
    case CommandLine::Action::Usage:
        say(commandLine.problem());
        return ExitUsage;
    case CommandLine::Action::Help:
        text = commandLine.helpText();
        break;
    case CommandLine::Action::Version:
        text = QStringLiteral("ostrabel-cli %1\n").arg(QGuiApplication::applicationVersion());
        break;
    case CommandLine::Action::Make:
        return CalendarCommand::run(commandLine.request(), say);
    }
    const QByteArray bytes = text.toLocal8Bit();
    QString reason;
    if (!StandardOutput::write(
            [&bytes](QIODevice& out) { return out.write(bytes) == bytes.size(); }, &reason)) {
        say(QCoreApplication::translate("main", "Kon niet schrijven (%1). Stuur de uitvoer "
                                                "naar een bestand.")
                .arg(reason));
        return ExitFailed;
    }
    return ExitDone;
}

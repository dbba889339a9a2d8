#include "cli/CalendarCommand.h"
#include "cli/CommandLine.h"
#include "cli/StandardOutput.h"

#include <QGuiApplication>
#include <QIODevice>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <csignal>
#include <cstdio>

namespace {

void say(const QString& line) {
    std::fputs(qPrintable(QStringLiteral("ostrabel-cli: %1\n").arg(line)), stderr);
}

QtMessageHandler qtHandler = nullptr;

// Standard error carries the one line that tells the user what to do. Qt's
// own remarks (no XDG_RUNTIME_DIR under cron or sudo, say) would bury it;
// they come through when asked for with QT_LOGGING_RULES.
void qtMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg ||
        qEnvironmentVariableIsSet("QT_LOGGING_RULES")) {
        qtHandler(type, context, message);
    }
}

} // namespace

int main(int argc, char* argv[]) {
    StandardOutput::secure();
    qtHandler = qInstallMessageHandler(qtMessages);
    // A reader that goes away or a file-size limit must fail the write that
    // met it, so the program can say so, rather than end it unannounced.
    std::signal(SIGPIPE, SIG_IGN);
    std::signal(SIGXFSZ, SIG_IGN);
    // The page needs fonts and painting, not a screen.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationVersion(QStringLiteral(OSTRABEL_VERSION));

    // The program speaks Dutch, so Qt's part of the help does too.
    QTranslator qtStrings;
    if (qtStrings.load(QLocale(QLocale::Dutch, QLocale::Netherlands), QStringLiteral("qtbase"),
                       QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QGuiApplication::installTranslator(&qtStrings);
    }

    CommandLine commandLine(QGuiApplication::arguments());
    QString text;
    switch (commandLine.action()) {
    case CommandLine::Action::Usage:
        say(commandLine.problem());
        return ExitUsage;
    case CommandLine::Action::Help:
        text = commandLine.helpText();
        break;
    case CommandLine::Action::HelpWithQtOptions:
        commandLine.showHelpWithQtOptions(); // and ends the program
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

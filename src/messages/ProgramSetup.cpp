// SPDX-License-Identifier: GPL-3.0-or-later
#include "messages/ProgramSetup.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

QtMessageHandler qtHandler = nullptr;

void onlyWhenAsked(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg || qEnvironmentVariableIsSet("QT_LOGGING_RULES"))
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

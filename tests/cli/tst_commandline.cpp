// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CommandLine.h"
#include "output/OutputFormat.h"

#include <QtTest>

namespace {

// What a request asks for, in one line.
QString summary(const CalendarRequest& r) {
    const char* fits[] = {"uitrekken", "bijsnijden", "passend"};
    return QStringLiteral("%1 %2 jaar=%3 foto=%4 %5 x%6%7")
        .arg(r.output.isEmpty() ? QStringLiteral("-") : r.format->name, r.output,
             r.yearText.isNull() ? QStringLiteral("nu") : r.yearText,
             r.photoPath.isNull() ? QStringLiteral("geen") : r.photoPath, fits[int(r.photoFit)])
        .arg(r.sizeFactor)
        .arg(r.print ? QStringLiteral(" afdrukken %1 %2").arg(r.printer, r.copiesText) : QString())
        .append(r.photoCrop == PhotoPlacement::wholePhoto ? QString()
                                                          : QStringLiteral(" uitsnede=%1,%2,%3,%4")
                                                                .arg(r.photoCrop.x())
                                                                .arg(r.photoCrop.y())
                                                                .arg(r.photoCrop.width())
                                                                .arg(r.photoCrop.height()))
        .append(r.weekStart == WeekStart::Monday ? " maandag" : "")
        .append(r.weekNumbers ? " weeknummers" : "")
        .append(r.holidays ? " feestdagen" : "");
}

} // namespace

// Argument vectors to what they ask for, or to the usage error and its hint.
class TestCommandLine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void read_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<CommandLine::Action>("action");
        QTest::addColumn<QString>("expected"); // the request, or a part of the problem
        using A = CommandLine::Action;
        const auto row = [](const char* name, QStringList args, A action, const char* expected) {
            QTest::newRow(name) << args << action << QString::fromUtf8(expected);
        };
        row("bmp", {"k.bmp"}, A::Make, "bmp k.bmp jaar=nu foto=geen uitrekken x1");
        row("png, large, any case", {"--jaar", "2027", "--groot", "K.PNG"}, A::Make,
            "png K.PNG jaar=2027 foto=geen uitrekken x2");
        row("pdf on standard output", {"--formaat", "pdf", "-"}, A::Make,
            "pdf - jaar=nu foto=geen uitrekken x1");
        row("photo cropped", {"--foto", "f.heic", "--foto-passen", "BIJSNIJDEN", "k.pdf"}, A::Make,
            "pdf k.pdf jaar=nu foto=f.heic bijsnijden x1");
        row("print only", {"--afdrukken", "--printer", "PDF", "--kopieen", "3"}, A::Make,
            "-  jaar=nu foto=geen uitrekken x1 afdrukken PDF 3");
        row("calendar options",
            {"--week-begint", "Maandag", "--weeknummers", "--feestdagen", "k.bmp"}, A::Make,
            "bmp k.bmp jaar=nu foto=geen uitrekken x1 maandag weeknummers feestdagen");
        row("part of the photo", {"--foto-uitsnede", "0.25, 0,0.5,1", "k.bmp"}, A::Make,
            "bmp k.bmp jaar=nu foto=geen bijsnijden x1 uitsnede=0.25,0,0.5,1");
        row("help", {"--help"}, A::Help, "");
        row("help with Qt's options", {"--help-all"}, A::Help, "");
        row("version", {"--version"}, A::Version, "");
        row("nothing to make", {}, A::Usage, "Geef een UITVOER");
        row("two outputs", {"a.bmp", "b.bmp"}, A::Usage, "te veel");
        row("unknown extension", {"k.jpg"}, A::Usage, "geen bekende extensie");
        row("standard output without format", {"-"}, A::Usage, "--formaat bmp, png of pdf");
        row("unknown format", {"--formaat", "gif", "-"}, A::Usage, "Onbekend formaat 'gif'");
        row("format against extension", {"--formaat", "png", "k.bmp"}, A::Usage, "past niet");
        row("copies without printing", {"--kopieen", "2", "k.bmp"}, A::Usage, "--afdrukken");
        row("unknown way into the frame", {"--foto-passen", "rekken", "k.bmp"}, A::Usage,
            "uitrekken, bijsnijden of passend");
        row("unknown option", {"--kleur", "k.bmp"}, A::Usage, "kleur");
        row("week from Tuesday", {"--week-begint", "dinsdag", "k.bmp"}, A::Usage,
            "--week-begint maandag of zondag");
        for (const char* part : {"0,0,1.2,0.5", "0,0,0,0.5", "a,b,c,d", "0,0,1", "0.6,0,0.5,1",
                                 "-0,-0.1,1,1", "nan,0,1,1", "0,0,1,1,"})
            QTest::addRow("part %s", part) << QStringList{"--foto-uitsnede", part, "k.bmp"}
                                           << A::Usage << QStringLiteral("X,Y,B,H");
        row("part when stretched",
            {"--foto-passen", "uitrekken", "--foto-uitsnede", "0,0,1,1", "k.bmp"}, A::Usage,
            "alleen met --foto-passen bijsnijden");
        row("option without its value", {"k.bmp", "--jaar"}, A::Usage, "jaar");
    }
    void read() {
        QFETCH(QStringList, arguments);
        QFETCH(CommandLine::Action, action);
        QFETCH(QString, expected);
        const CommandLine line(QStringList("ostrabel-cli") + arguments);
        QCOMPARE(line.action(), action);
        if (action == CommandLine::Action::Make)
            QCOMPARE(summary(line.request()), expected);
        if (action == CommandLine::Action::Usage)
            QVERIFY2(line.problem().contains(expected) &&
                         line.problem().endsWith(QStringLiteral("Zie ostrabel-cli --help.")),
                     qPrintable(line.problem()));
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/CalendarYear.h"
#include "calendar/IsoWeek.h"
#include "calendar/PublicHolidays.h"
#include "calendar/WholeNumber.h"
#include "calendar/YearTable.h"

#include <QDate>
#include <QProcess>
#include <QSet>
#include <QTest>
#include <limits>

using Reading = WholeNumber::Reading;
constexpr qint64 yearMin = std::numeric_limits<qint32>::min();
constexpr qint64 yearMax = std::numeric_limits<qint32>::max();

class TestCalendar : public QObject {
    Q_OBJECT

    // QDate has no year 0: astronomical year y <= 0 is its year y - 1. The
    // lowest 32-bit year has no QDate; 400 years on, the calendar repeats.
    static QDate gregorian(qint32 year, int month) {
        const qint64 y = year == yearMin ? qint64(year) + 400 : year;
        return QDate(int(y <= 0 ? y - 1 : y), month, 1);
    }

private Q_SLOTS:
    // The weekday carried from month to month lands every month on the real
    // weekday and February has its real length, in the table and beyond it.
    void matchesGregorian() {
        QList<qint32> years{1582, 1, 0, -1, -4713, qint32(yearMax), qint32(yearMin)};
        for (qint32 year = -2000; year <= 12000; ++year)
            years << year;
        for (const qint32 year : years) {
            const CalendarYear calendar(year);
            for (int month = 1; month <= 12; ++month)
                if (calendar.firstWeekday(month) != gregorian(year, month).dayOfWeek() % 7 ||
                    calendar.days(month) != gregorian(year, month).daysInMonth())
                    QFAIL(qPrintable(QStringLiteral("%1-%2").arg(year).arg(month)));
        }
        QVERIFY(YearTable::find(2000) && YearTable::find(2020));
        QVERIFY(!YearTable::find(1999) && !YearTable::find(2021));
    }

    // The one rule for typed numbers: the year's 32-bit range and the copies' 1..32767.
    void wholeNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("least");
        QTest::addColumn<qint64>("most");
        QTest::addColumn<Reading>("reading");
        QTest::addColumn<qint64>("value");
        const auto year = [](const char* name, const QString& text, Reading reading, qint64 value) {
            QTest::newRow(name) << text << yearMin << yearMax << reading << value;
        };
        const auto copies = [](const char* name, const QString& text, Reading reading,
                               qint64 value) {
            QTest::newRow(name) << text << qint64(1) << qint64(32767) << reading << value;
        };
        year("list entry", "2005", Reading::Number, 2005);
        year("blanks around", " 2009 ", Reading::Number, 2009);
        year("signs", "-44", Reading::Number, -44);
        year("largest", "2147483647", Reading::Number, yearMax);
        year("smallest", "-2147483648", Reading::Number, yearMin);
        year("one too large", "2147483648", Reading::TooLarge, 0);
        year("one too small", "-2147483649", Reading::TooSmall, 0);
        year("far too large", "+000099999999999999999999", Reading::TooLarge, 0);
        year("far too small", "-99999999999999999999", Reading::TooSmall, 0);
        for (const char* text :
             {"", "  ", "abcd", "20x5", "2005.5", "1 0", "0x10", "--5", "\u0663"})
            year(text, QString::fromUtf8(text), Reading::NotANumber, 0);
        copies("copies", "3", Reading::Number, 3);
        copies("plus and zero", "+07", Reading::Number, 7);
        copies("most copies", "32767", Reading::Number, 32767);
        copies("too many copies", "32768", Reading::TooLarge, 0);
        copies("no copies", "0", Reading::TooSmall, 0);
        copies("negative copies", "-2", Reading::TooSmall, 0);
    }
    void wholeNumber() {
        QFETCH(QString, text);
        QFETCH(qint64, least);
        QFETCH(qint64, most);
        QFETCH(Reading, reading);
        QFETCH(qint64, value);
        qint64 read = 0;
        QCOMPARE(WholeNumber::read(text, least, most, &read), reading);
        QCOMPARE(read, value);
    }

    // Every holiday from 1583 to 9999, none missing and none extra, as python3-holidays
    // has them; the long run tries Easter's corrections of every century.
    void holidaysMatchPython() {
        QProcess python;
        python.setProcessChannelMode(QProcess::ForwardedErrorChannel); // a failing oracle says why
        python.start("/usr/bin/python3",
                     {"-c", "try:\n import holidays\nexcept ImportError:\n exit(3)\n"
                            "print(*sorted(holidays.NL(years=range(1583, 10000))), sep='\\n')"});
        python.waitForFinished(-1);
        if (python.error() == QProcess::FailedToStart || python.exitCode() == 3)
            QSKIP("/usr/bin/python3 cannot import holidays (Debian's python3-holidays)");
        QCOMPARE(python.exitCode(), 0);
        QSet<QString> have;
        for (qint32 year = 1583; year <= 9999; ++year) {
            const PublicHolidays holidays(year);
            for (int month = 1; month <= 12; ++month)
                for (int day = 1; day <= 31; ++day)
                    if (holidays.contains(month, day))
                        have << QDate(year, month, day).toString(Qt::ISODate);
        }
        const QStringList oracle =
            QString::fromLatin1(python.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        const QSet<QString> want(oracle.cbegin(), oracle.cend());
        const QStringList missing = (want - have).values(), extra = (have - want).values();
        QVERIFY2(missing.isEmpty() && extra.isEmpty(),
                 qPrintable("missing " + missing.join(' ') + "; extra " + extra.join(' ')));
    }

    // Easter of any year is a Sunday from 22 March to 25 April. Weeks are QDate's, also for a
    // grid row's Monday before or after its month (1 January 2027 is a Friday: its row starts
    // in week 53 of 2026); far years reach QDate through the 400-year cycle of whole weeks.
    void easterAndWeeks() {
        QCOMPARE(IsoWeek::of(2027, 1, -3), 53);
        QList<qint32> years{qint32(yearMin), -4714, -1, 0, qint32(yearMax)};
        for (qint32 year = 1900; year <= 2100; ++year)
            years << year;
        for (const qint32 year : years) {
            const auto [easterMonth, easterDay] = PublicHolidays::easter(year);
            const int date = easterMonth * 100 + easterDay;
            QVERIFY2(date >= 322 && date <= 425 &&
                         (CalendarYear(year).firstWeekday(easterMonth) + easterDay - 1) % 7 == 0,
                     qPrintable(QString::number(year)));
            const int same = year > 0 && year < 10000 ? year : 2000 + int((year % 400 + 400) % 400);
            for (int month = 1; month <= 12; ++month)
                for (int day = -6; day <= 38; ++day)
                    if (IsoWeek::of(year, month, day) !=
                        QDate(same, month, 1).addDays(day - 1).weekNumber())
                        QFAIL(qPrintable(
                            QStringLiteral("%1-%2 day %3").arg(year).arg(month).arg(day)));
        }
    }
};

QTEST_GUILESS_MAIN(TestCalendar)
#include "tst_calendar.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar/CalendarYear.h"
#include "calendar/WholeNumber.h"
#include "calendar/YearTable.h"

#include <QDate>
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
};

QTEST_GUILESS_MAIN(TestCalendar)
#include "tst_calendar.moc"

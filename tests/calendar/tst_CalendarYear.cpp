#include "calendar/CalendarYear.h"
#include "calendar/YearTable.h"

#include <QDate>
#include <QTest>
#include <limits>

class TestCalendarYear : public QObject {
    Q_OBJECT

    // QDate has no year 0: astronomical year y <= 0 is its year y - 1. The
    // lowest 32-bit year has no such QDate; 400 years on, the calendar repeats.
    static QDate gregorian(qint32 year, int month) {
        const qint64 y = year == std::numeric_limits<qint32>::min() ? qint64(year) + 400 : year;
        return QDate(int(y <= 0 ? y - 1 : y), month, 1);
    }

private Q_SLOTS:
    void matchesGregorian_data() {
        QTest::addColumn<qint32>("year");
        for (qint32 year = YearTable::firstYear; year <= YearTable::lastYear; ++year)
            QTest::addRow("%d", year) << year;
        for (const qint32 year :
             {1999, 2021, 2027, 2100, 1900, 1600, 1582, 1, 0, -1, -4713, 100000,
              std::numeric_limits<qint32>::max(), std::numeric_limits<qint32>::min()})
            QTest::addRow("%d", year) << year;
    }

    // The weekday carried from month to month lands every month, 1 December
    // included, on the real weekday; February has its real length.
    void matchesGregorian() {
        QFETCH(qint32, year);
        QCOMPARE(YearTable::find(year).has_value(), year >= 2000 && year <= 2020);
        const CalendarYear calendar(year);
        for (int month = 1; month <= 12; ++month) {
            QCOMPARE(calendar.firstWeekday(month), gregorian(year, month).dayOfWeek() % 7);
            QCOMPARE(calendar.days(month), gregorian(year, month).daysInMonth());
        }
    }

    void manyYears() {
        for (qint32 year = -2000; year <= 12000; ++year) {
            const CalendarYear calendar(year);
            if (calendar.firstWeekday(12) != gregorian(year, 12).dayOfWeek() % 7 ||
                calendar.days(2) != gregorian(year, 2).daysInMonth())
                QFAIL(qPrintable(QString::number(year)));
        }
    }
};

QTEST_GUILESS_MAIN(TestCalendarYear)
#include "tst_CalendarYear.moc"

#include "printing/CopyCount.h"

#include <QTest>

class TestCopyCount : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void parse_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("copies"); // 0: refused

        QTest::newRow("list entry") << QStringLiteral("3") << 3;
        QTest::newRow("one") << QStringLiteral("1") << 1;
        QTest::newRow("largest") << QStringLiteral("32767") << 32767;
        QTest::newRow("blanks around") << QStringLiteral(" 20 ") << 20;
        QTest::newRow("plus sign") << QStringLiteral("+4") << 4;
        QTest::newRow("leading zero") << QStringLiteral("07") << 7;

        QTest::newRow("zero") << QStringLiteral("0") << 0;
        QTest::newRow("negative") << QStringLiteral("-2") << 0;
        QTest::newRow("one too many") << QStringLiteral("32768") << 0;
        QTest::newRow("far too many") << QStringLiteral("99999999999999999999") << 0;
        QTest::newRow("letters") << QStringLiteral("abc") << 0;
        QTest::newRow("empty") << QString() << 0;
        QTest::newRow("blanks only") << QStringLiteral("  ") << 0;
        QTest::newRow("fraction") << QStringLiteral("2.5") << 0;
        QTest::newRow("inner blank") << QStringLiteral("1 0") << 0;
        QTest::newRow("hex") << QStringLiteral("0x10") << 0;
        QTest::newRow("other digits") << QStringLiteral("\u0663") << 0;
    }
    void parse() {
        QFETCH(QString, text);
        QFETCH(int, copies);
        const std::optional<qint16> parsed = CopyCount::parse(text);
        QCOMPARE(parsed.value_or(0), copies);
    }
};

QTEST_GUILESS_MAIN(TestCopyCount)
#include "tst_CopyCount.moc"

#include "ReportError.h"
#include "ValueText.h"
#include "VbConvert.h"

#include <QtTest>
#include <cmath>

using namespace KRML_ReportGen;

class TestVbConvert : public QObject
{
    Q_OBJECT
private slots:
    void valueTextOfNumbers_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("point");
        QTest::addColumn<QString>("comma");
        QTest::newRow("whole") << 1234567.0 << "1234567" << "1234567";
        QTest::newRow("REAL column value") << 1234567.89 << "1234567.89" << "1234567,89";
        QTest::newRow("four decimals") << 98765.4321 << "98765.4321" << "98765,4321";
        QTest::newRow("fifteen digits") << 1.0 / 3.0 << "0.333333333333333" << "0,333333333333333";
        QTest::newRow("no trailing zeros") << 2.5 << "2.5" << "2,5";
        QTest::newRow("large") << 1e20 << "1E+20" << "1E+20";
        QTest::newRow("small") << 0.00001 << "1E-05" << "1E-05";
        QTest::newRow("small with a fraction") << 1.5e-7 << "1.5E-07" << "1,5E-07";
        QTest::newRow("negative") << -0.25 << "-0.25" << "-0,25";
    }
    void valueTextOfNumbers()
    {
        QFETCH(double, value);
        QFETCH(QString, point);
        QFETCH(QString, comma);
        const QLocale saved;
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(ValueText::number(value), point);
        QCOMPARE(ValueText::of(QVariant(value)), point);
        // The separator of the user's regional settings.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(ValueText::number(value), comma);
        QCOMPARE(ValueText::of(QVariant(value)), comma);
        QLocale::setDefault(saved);
    }

    void roundHalfEven_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("expected");
        QTest::newRow("0.5 to 0") << 0.5 << 0.0;
        QTest::newRow("1.5 to 2") << 1.5 << 2.0;
        QTest::newRow("2.5 to 2") << 2.5 << 2.0;
        QTest::newRow("-2.5 to -2") << -2.5 << -2.0;
        QTest::newRow("-3.5 to -4") << -3.5 << -4.0;
        QTest::newRow("113.4 to 113") << 113.4 << 113.0;
        QTest::newRow("16839.9 to 16840") << 16839.9 << 16840.0;
        QTest::newRow("2.500001 up") << 2.500001 << 3.0;
    }
    void roundHalfEven()
    {
        QFETCH(double, value);
        QFETCH(double, expected);
        QCOMPARE(VbConvert::roundHalfEven(value), expected);
    }

    void toInt16_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("expected");
        QTest::addColumn<bool>("overflows");
        QTest::newRow("max") << 32767.0 << 32767 << false;
        QTest::newRow("max+0.4 rounds down") << 32767.4 << 32767 << false;
        QTest::newRow("max+0.5 rounds to even 32768") << 32767.5 << 0 << true;
        QTest::newRow("min") << -32768.0 << -32768 << false;
        QTest::newRow("min-0.5 rounds to even -32768") << -32768.5 << -32768 << false;
        QTest::newRow("min-1") << -32769.0 << 0 << true;
        QTest::newRow("page wider than a 16-bit bound") << 40000.0 << 0 << true;
        QTest::newRow("nan") << std::nan("") << 0 << true;
    }
    void toInt16()
    {
        QFETCH(double, value);
        QFETCH(int, expected);
        QFETCH(bool, overflows);
        try {
            const qint16 r = VbConvert::toInt16(value);
            QVERIFY2(!overflows, "expected an overflow");
            QCOMPARE(int(r), expected);
        } catch (const ReportError &e) {
            QVERIFY2(overflows, qPrintable(e.description()));
            QCOMPARE(e.number(), 6);
            QCOMPARE(e.description(), QStringLiteral("Overflow"));
        }
    }

    void toInt32Bounds()
    {
        QCOMPARE(VbConvert::toInt32(2147483647.0), 2147483647);
        QCOMPARE(VbConvert::toInt32(-2147483648.0), int(-2147483648LL));
        QVERIFY_THROWS_EXCEPTION(ReportError, VbConvert::toInt32(2147483648.0));
        QCOMPARE(VbConvert::toInt32(2.5), 2);
        QCOMPARE(VbConvert::toInt32(3.5), 4);
    }

    void textConversionsFailWithTypeMismatch()
    {
        try {
            VbConvert::toInt16(QStringLiteral("abc"));
            QFAIL("no error");
        } catch (const ReportError &e) {
            QCOMPARE(e.number(), 13);
            QCOMPARE(e.description(), QStringLiteral("Type mismatch"));
        }
        // A number outside the range is an overflow, not a mismatch.
        try {
            VbConvert::toInt16(QStringLiteral("40000"));
            QFAIL("no error");
        } catch (const ReportError &e) {
            QCOMPARE(e.number(), 6);
        }
        QCOMPARE(VbConvert::toSingle(QStringLiteral("16839.9")), 16839.9f);
        QVERIFY_THROWS_EXCEPTION(ReportError, VbConvert::toSingle(QStringLiteral("1E+39")));
    }

    void formatSingle_data()
    {
        QTest::addColumn<float>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("integer") << 11907.0f << "11907";
        QTest::newRow("A4 height") << 16839.9f << "16839.9";
        QTest::newRow("font size") << 8.25f << "8.25";
        QTest::newRow("negative") << -1425.5f << "-1425.5";
        QTest::newRow("zero") << 0.0f << "0";
        QTest::newRow("negative zero") << -0.0f << "0";
        QTest::newRow("seven digits") << 1234567.0f << "1234567";
        QTest::newRow("eight digits") << 12345678.0f << "1.234568E+07";
        QTest::newRow("ten million") << 1e7f << "1E+07";
        QTest::newRow("small") << 0.0001f << "0.0001";
        QTest::newRow("smaller") << 0.00001f << "1E-05";
        QTest::newRow("single noise hidden") << 0.1f << "0.1";
    }
    void formatSingle()
    {
        QFETCH(float, value);
        QFETCH(QString, expected);
        QCOMPARE(VbConvert::formatSingle(value), expected);
        // What is written reads back to the same single.
        QCOMPARE(VbConvert::toSingle(VbConvert::formatSingle(value)), value == 0.0f ? 0.0f : value);
    }

    void formatDouble()
    {
        QCOMPARE(VbConvert::formatDouble(0.1 + 0.2), QStringLiteral("0.3"));
        QCOMPARE(VbConvert::formatDouble(123456789012.0), QStringLiteral("123456789012"));
    }
};

QTEST_APPLESS_MAIN(TestVbConvert)
#include "tst_vbconvert.moc"

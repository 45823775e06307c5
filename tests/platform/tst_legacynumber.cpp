#include "LegacyNumber.h"

#include <QtTest>

using namespace KRML_ReportGen;

// The two ways the legacy platform reads numbers out of text: Val's leading
// number (formulas, the SQL function Val) and the full conversion of typed
// entries, file values and CDbl.
class TestLegacyNumber : public QObject
{
    Q_OBJECT
private slots:
    void leadingValue_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("integer") << "42" << 42.0;
        QTest::newRow("leading part") << "12abc" << 12.0;
        QTest::newRow("nothing") << "abc" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("point") << "3.25/" << 3.25;
        QTest::newRow("comma stops") << "3,25" << 3.0;
        QTest::newRow("blanks inside") << "1 2" << 12.0;
        QTest::newRow("tabs and line feeds") << "\t1\n5" << 15.0;
        QTest::newRow("leading blanks") << "   7 apples" << 7.0;
        QTest::newRow("hex") << "&H10" << 16.0;
        QTest::newRow("hex 255") << "&HFF" << 255.0;
        QTest::newRow("hex is 16-bit signed") << "&HFFFF" << -1.0;
        QTest::newRow("hex 32-bit") << "&H10000" << 65536.0;
        QTest::newRow("hex stops at a non-digit") << "&H1G" << 1.0;
        QTest::newRow("octal") << "&O17" << 15.0;
        QTest::newRow("hex without digits") << "&H" << 0.0;
        QTest::newRow("exponent") << "1e3" << 1000.0;
        QTest::newRow("exponent then text") << "1e3x" << 1000.0;
        QTest::newRow("D exponent") << "2D2" << 200.0;
        QTest::newRow("exponent without digits") << "2e" << 2.0;
        QTest::newRow("negative exponent") << "5E-1" << 0.5;
        QTest::newRow("sign") << "-7" << -7.0;
        QTest::newRow("plus") << "+7" << 7.0;
        QTest::newRow("second point stops") << "1.2.3" << 1.2;
        QTest::newRow("bare sign") << "-" << 0.0;
        QTest::newRow("arabic digits are not ours") << QString::fromUtf8("\xd9\xa3") << 0.0;
    }
    void leadingValue()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(LegacyNumber::leadingValue(text), value);
    }

    void convert_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("numeric");
        QTest::addColumn<double>("value");
        QTest::newRow("integer") << "2" << true << 2.0;
        QTest::newRow("blanks around") << "  210 " << true << 210.0;
        QTest::newRow("point") << "16839.9" << true << 16839.9;
        QTest::newRow("comma") << "16839,9" << true << 16839.9;
        QTest::newRow("sign") << "-8.25" << true << -8.25;
        QTest::newRow("plus") << "+3" << true << 3.0;
        QTest::newRow("leading point") << ".5" << true << 0.5;
        QTest::newRow("exponent") << "1E+07" << true << 1e7;
        QTest::newRow("small exponent") << "1e-5" << true << 1e-5;
        QTest::newRow("hex 16-bit") << "&HFF" << true << 255.0;
        QTest::newRow("hex -1") << "&HFFFF" << true << -1.0;
        QTest::newRow("hex system colour") << "&H80000008" << true << -2147483640.0;
        QTest::newRow("octal") << "&O17" << true << 15.0;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("blank") << "   " << false << 0.0;
        QTest::newRow("letters") << "abc" << false << 0.0;
        QTest::newRow("trailing junk") << "12a" << false << 0.0;
        QTest::newRow("two separators") << "1.2.3" << false << 0.0;
        QTest::newRow("bare sign") << "-" << false << 0.0;
        QTest::newRow("exponent without digits") << "1E" << false << 0.0;
        QTest::newRow("bad hex") << "&HXYZ" << false << 0.0;
        QTest::newRow("arabic digits are not ours") << QString::fromUtf8("\xd9\xa3") << false << 0.0;
    }
    void convert()
    {
        QFETCH(QString, text);
        QFETCH(bool, numeric);
        QFETCH(double, value);
        const auto r = LegacyNumber::convert(text);
        QCOMPARE(r.has_value(), numeric);
        QCOMPARE(LegacyNumber::isNumber(text), numeric);
        if (numeric)
            QCOMPARE(*r, value);
    }

    void rulesDifferWhereTheLegacyPlatformDoes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("inner blank") << "1 2";
        QTest::newRow("trailing text") << "12abc";
        QTest::newRow("comma") << "1,5";
    }
    void rulesDifferWhereTheLegacyPlatformDoes()
    {
        QFETCH(QString, text);
        const auto full = LegacyNumber::convert(text);
        QVERIFY(!full || *full != LegacyNumber::leadingValue(text));
    }
};

QTEST_APPLESS_MAIN(TestLegacyNumber)
#include "tst_legacynumber.moc"

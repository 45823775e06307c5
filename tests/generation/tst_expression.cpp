#include "Expression.h"
#include "ExpressionError.h"
#include "ExpressionScope.h"
#include "ExpressionValues.h"
#include "FormulaEvaluator.h"
#include "MemoryRecordset.h"
#include "ReportError.h"
#include "RowsExpressionScope.h"
#include "ValueFormat.h"

#include <QtTest>

using namespace KRML_ReportGen;

namespace {

// Two statements of a report: Orders (three rows, one with a Null amount)
// and Customers.
class TestScope : public RowsExpressionScope
{
public:
    TestScope()
    {
        MemoryRecordset orders({QStringLiteral("Amount"), QStringLiteral("Qty"), QStringLiteral("Name"), QStringLiteral("Paid"),
                                QStringLiteral("When"), QStringLiteral("Note")},
                               {6, 3, 202, 11, 7, 202});
        orders.appendRow({100.0, 2, QStringLiteral("Ann"), true, QDate(2024, 3, 15), QVariant()});
        orders.appendRow({50.5, 1, QStringLiteral("Bob"), false, QDate(2024, 3, 16), QStringLiteral("x")});
        orders.appendRow({QVariant(), 4, QStringLiteral("Cy"), true, QDate(2024, 4, 1), QVariant()});
        MemoryRecordset customers({QStringLiteral("Id")}, {3});
        customers.appendRow({1});
        customers.appendRow({2});
        addStatement(QStringLiteral("Orders"), orders);
        addStatement(QStringLiteral("Customers"), customers);
        settingsValue.taxRate = 7.0;
        settingsValue.locale = QStringLiteral("en_US");
        setSettings(settingsValue);
    }
    void setTaxRate(const QVariant &rate)
    {
        settingsValue.taxRate = rate;
        setSettings(settingsValue);
    }

private:
    ExpressionFunctions::Settings settingsValue;
};

// What a value prints as; Null as the word, so that the tables show it.
QString shown(const QVariant &v)
{
    return ExpressionValues::isNull(v) ? QStringLiteral("<Null>") : ExpressionValues::text(v);
}

QString run(const QString &formula, TestScope &scope, int row = 0)
{
    Expression e(formula);
    e.bind(scope);
    if (!e.printsOnce())
        scope.standOn(e.rowStatement(), row);
    return shown(e.evaluate(scope));
}

} // namespace

class TestExpression : public QObject
{
    Q_OBJECT
private slots:
    void values_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("result");
        // Precedence: ^ above unary minus above * / above \ above Mod above + - above & above comparisons above Not, And, Or.
        QTest::newRow("times before plus") << "=1+2*3" << 0 << "7";
        QTest::newRow("parentheses") << "=(1+2)*3" << 0 << "9";
        QTest::newRow("power from the left") << "=2^3^2" << 0 << "64";
        QTest::newRow("power above minus") << "=-2^2" << 0 << "-4";
        QTest::newRow("negative exponent") << "=2^-1" << 0 << "0.5";
        QTest::newRow("whole division") << "=7\\2" << 0 << "3";
        QTest::newRow("whole division rounds half to even") << "=5.5\\2" << 0 << "3";
        QTest::newRow("times before whole division") << "=7\\2*2" << 0 << "1";
        QTest::newRow("mod") << "=7 Mod 3" << 0 << "1";
        QTest::newRow("times before mod") << "=10 Mod 3 * 2" << 0 << "4";
        QTest::newRow("plus before comparison") << "=1+2=3" << 0 << "True";
        QTest::newRow("and") << "=1<2 And 2<1" << 0 << "False";
        QTest::newRow("or") << "=1<2 Or 2<1" << 0 << "True";
        QTest::newRow("not below comparison") << "=Not 1>2" << 0 << "True";
        QTest::newRow("and before or") << "=True Or False And False" << 0 << "True";
        QTest::newRow("ampersand after plus") << "=\"a\" & 1+2" << 0 << "a3";
        QTest::newRow("decimals") << "=0.1*3" << 0 << "0.3";
        QTest::newRow("exponent form") << "=1.5E2/3" << 0 << "50";
        // Types.
        QTest::newRow("texts joined by plus") << "=\"a\" + \"b\"" << 0 << "ab";
        QTest::newRow("number text in arithmetic") << "=\"3\" + 4" << 0 << "7";
        QTest::newRow("text comparison") << "=\"abc\" < \"abd\"" << 0 << "True";
        QTest::newRow("quote in text") << "=\"say \"\"hi\"\"\"" << 0 << "say \"hi\"";
        QTest::newRow("true is minus one") << "=True + 0" << 0 << "-1";
        QTest::newRow("date plus days") << "=#2024-03-15# + 1" << 0 << "2024-03-16";
        QTest::newRow("date minus date") << "=#2024-03-15# - #2024-03-01#" << 0 << "14";
        QTest::newRow("month-first date") << "=Month(#3/15/2024#)" << 0 << "3";
        QTest::newRow("date comparison") << "=#2024-03-15# > #2024-03-01#" << 0 << "True";
        // Null rules.
        QTest::newRow("null in arithmetic") << "=Null + 1" << 0 << "<Null>";
        QTest::newRow("null joined as empty") << "=Null & \"a\"" << 0 << "a";
        QTest::newRow("null compared") << "=Null = Null" << 0 << "<Null>";
        QTest::newRow("false and null") << "=False And Null" << 0 << "False";
        QTest::newRow("true and null") << "=True And Null" << 0 << "<Null>";
        QTest::newRow("true or null") << "=True Or Null" << 0 << "True";
        QTest::newRow("not null") << "=Not Null" << 0 << "<Null>";
        QTest::newRow("function of null") << "=Len(Null)" << 0 << "<Null>";
        QTest::newRow("isnull of a null field") << "=IsNull({Orders.Note})" << 0 << "True";
        QTest::newRow("nz with default") << "=Nz({Orders.Note}, \"none\")" << 0 << "none";
        QTest::newRow("nz without default") << "=Nz({Orders.Amount}) + 1" << 2 << "1";
        QTest::newRow("iif on null takes else") << "=IIf(Null, 1, 2)" << 0 << "2";
        QTest::newRow("iif leaves the other branch alone") << "=IIf(True, 1, 1/0)" << 0 << "1";
        QTest::newRow("null field in arithmetic") << "={Orders.Amount} * 2" << 2 << "<Null>";
        // Fields of the current row.
        QTest::newRow("fields multiplied") << "={Orders.Amount} * {Orders.Qty}" << 0 << "200";
        QTest::newRow("second row") << "={Orders.Amount} * {Orders.Qty}" << 1 << "50.5";
        QTest::newRow("text of fields") << "={Orders.Name} & \" (\" & {Orders.Qty} & \")\"" << 0 << "Ann (2)";
        QTest::newRow("truth field") << "=IIf({Orders.Paid}, \"paid\", \"open\")" << 1 << "open";
        QTest::newRow("field names without regard to case") << "={orders.amount}" << 0 << "100";
        // Functions, with braces as the editor writes them and with parentheses.
        QTest::newRow("round braces") << "=Round{{Orders.Amount}/3; 2}" << 0 << "33.33";
        QTest::newRow("round parentheses") << "=Round({Orders.Amount} / 3, 2)" << 0 << "33.33";
        QTest::newRow("round half to even down") << "=Round(2.5)" << 0 << "2";
        QTest::newRow("round half to even up") << "=Round(3.5)" << 0 << "4";
        QTest::newRow("percent") << "=Percent(1, 8)" << 0 << "12.5";
        QTest::newRow("add tax") << "=AddTax(100, 19)" << 0 << "119";
        QTest::newRow("minus tax") << "=MinusTax(119, 19)" << 0 << "100";
        QTest::newRow("add the report's tax") << "=AddTax(100)" << 0 << "107";
        QTest::newRow("abs") << "=Abs(-3)" << 0 << "3";
        QTest::newRow("int goes down") << "=Int(-2.5)" << 0 << "-3";
        QTest::newRow("fix cuts") << "=Fix(-2.5)" << 0 << "-2";
        QTest::newRow("len") << "=Len(\"abc\")" << 0 << "3";
        QTest::newRow("left") << "=Left(\"abcdef\", 2)" << 0 << "ab";
        QTest::newRow("right") << "=Right(\"abcdef\", 2)" << 0 << "ef";
        QTest::newRow("mid") << "=Mid(\"abcdef\", 2, 3)" << 0 << "bcd";
        QTest::newRow("mid to the end") << "=Mid(\"abcdef\", 5)" << 0 << "ef";
        QTest::newRow("ucase") << "=UCase(\"abc\")" << 0 << "ABC";
        QTest::newRow("lcase") << "=LCase(\"ABC\")" << 0 << "abc";
        QTest::newRow("trim") << "=Trim(\"  a  \")" << 0 << "a";
        QTest::newRow("year") << "=Year(#2024-03-15#)" << 0 << "2024";
        QTest::newRow("day") << "=Day({Orders.When})" << 0 << "15";
        QTest::newRow("dateadd keeps the month's end") << "=DateAdd(\"m\", 1, #2024-01-31#)" << 0 << "2024-02-29";
        QTest::newRow("datediff") << "=DateDiff(\"d\", #2024-03-01#, #2024-03-15#)" << 0 << "14";
        QTest::newRow("format") << "=Format(1234.5, \"#,##0.00\")" << 0 << "1,234.50";
        QTest::newRow("datetimeformat") << "=DateTimeFormat({Orders.When}, \"dd/mm/yyyy\")" << 0 << "15/03/2024";
        QTest::newRow("function names in any case") << "=round(2.25, 1)" << 0 << "2.2";
        // Aggregates over a statement's rows: Null skipped.
        QTest::newRow("sum") << "=Sum({Orders.Amount})" << 0 << "150.5";
        QTest::newRow("avg") << "=Avg({Orders.Amount})" << 0 << "75.25";
        QTest::newRow("count of values") << "=Count({Orders.Amount})" << 0 << "2";
        QTest::newRow("count of rows") << "=Count(*)" << 0 << "3";
        QTest::newRow("count of another statement") << "=Count({Customers.Id})" << 0 << "2";
        QTest::newRow("min of texts") << "=Min({Orders.Name})" << 0 << "Ann";
        QTest::newRow("max of dates") << "=Max({Orders.When})" << 0 << "2024-04-01";
        QTest::newRow("aggregate of an expression") << "=Sum({Orders.Amount} * {Orders.Qty})" << 0 << "250.5";
        QTest::newRow("sum in braces") << "=Sum{{Orders.Qty}}" << 0 << "7";
        QTest::newRow("share of the total") << "=Round(Percent({Orders.Amount}, Sum({Orders.Amount})), 1)" << 0 << "66.4";
        QTest::newRow("two statements' aggregates") << "=Sum({Orders.Qty}) + Sum({Customers.Id})" << 0 << "10";
        QTest::newRow("running sum") << "=RunningSum({Orders.Amount})" << 1 << "150.5";
        QTest::newRow("running sum first row") << "=RunningSum({Orders.Amount})" << 0 << "100";
        QTest::newRow("running sum over a null") << "=RunningSum({Orders.Qty})" << 2 << "7";
    }
    void values()
    {
        QFETCH(QString, formula);
        QFETCH(int, row);
        QFETCH(QString, result);
        TestScope scope;
        QCOMPARE(run(formula, scope, row), result);
    }

    void errors_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing operand") << "=1 +" << 3075 << 5 << "the end of the expression is not expected here";
        QTest::newRow("unclosed parenthesis") << "=(1+2" << 3075 << 6 << "expected \")\" instead of the end of the expression";
        QTest::newRow("two numbers") << "=1 2" << 3075 << 4 << "\"2\" is not expected here";
        QTest::newRow("empty") << "=" << 3075 << 2 << "the expression is empty";
        QTest::newRow("unknown function") << "=Foo(1)" << 3075 << 2 << "\"Foo\" is not a function";
        QTest::newRow("too many arguments") << "=Round(1, 2, 3)" << 3075 << 2
                                            << "Round takes 1 to 2 arguments: Round(number, decimals): halves to the even digit";
        QTest::newRow("function without arguments") << "=Round" << 3075 << 7
                                                     << "Round needs its arguments in parentheses: Round(number, decimals): halves to the even digit";
        QTest::newRow("brace closed by parenthesis") << "=Round{1)" << 3075 << 9 << "expected \"}\" instead of \")\"";
        QTest::newRow("unclosed text") << "=\"abc" << 3075 << 2 << "the text has no closing quote";
        QTest::newRow("not a date") << "=#2024-13-45#" << 3075 << 2 << "#2024-13-45# is not a date";
        QTest::newRow("reference without field") << "={Orders}" << 3075 << 2 << "a field reference is {Statement.Field}";
        QTest::newRow("stray character") << "=1 ? 2" << 3075 << 4 << "\"?\" is not expected here";
        QTest::newRow("aggregate in aggregate") << "=Sum(Sum({Orders.Amount}))" << 3075 << 6 << "Sum cannot run inside another aggregate";
        QTest::newRow("star outside count") << "=Sum(*)" << 3075 << 6 << "\"*\" stands only in Count(*)";
        QTest::newRow("rows of two statements") << "={Orders.Amount} + {Customers.Id}" << 3075 << 20
                                                << "a formula prints the rows of one statement, not of \"Orders\" and \"Customers\"; "
                                                   "an aggregate such as Sum may read another";
        QTest::newRow("unknown statement") << "={Nope.Amount}" << 3265 << 2 << "The report SQL file has no statement \"Nope\"";
        QTest::newRow("unknown field") << "=1 + {Orders.Nope}" << 3265 << 6 << "the statement \"Orders\" has no field \"Nope\"";
        QTest::newRow("unknown field in an aggregate") << "=Sum({Orders.Nope})" << 3265 << 6
                                                       << "the statement \"Orders\" has no field \"Nope\"";
        QTest::newRow("division by zero") << "=1/0" << 11 << 3 << "Division by zero";
        QTest::newRow("zero by zero") << "=0/0" << 6 << 3 << "Overflow";
        QTest::newRow("text in arithmetic") << "=\"x\" + 4" << 13 << 6 << "Type mismatch";
        QTest::newRow("text summed") << "=Sum({Orders.Name})" << 13 << 6 << "Type mismatch";
        QTest::newRow("negative count") << "=Left(\"a\", -1)" << 5 << 2 << "Invalid procedure call or argument: Left needs a count from 0 on";
        QTest::newRow("unknown interval") << "=DateAdd(\"x\", 1, #2024-01-01#)" << 5 << 2
                                          << "Invalid procedure call or argument: DateAdd knows the intervals yyyy, q, m, y, d, w, ww, h, n and s";
    }
    void errors()
    {
        QFETCH(QString, formula);
        QFETCH(int, number);
        QFETCH(int, position);
        QFETCH(QString, message);
        TestScope scope;
        try {
            run(formula, scope);
            QFAIL("no error");
        } catch (const ExpressionError &e) {
            QCOMPARE(e.number(), number);
            QCOMPARE(e.position(), position);
            QCOMPARE(e.message(), message);
            QCOMPARE(e.description(), QStringLiteral("Position %1: %2").arg(position).arg(message));
        }
    }

    void taxRateFromTheReportOnly()
    {
        TestScope scope;
        scope.setTaxRate(QVariant());
        try {
            run(QStringLiteral("=AddTax(100)"), scope);
            QFAIL("no error");
        } catch (const ExpressionError &e) {
            QCOMPARE(e.number(), 5);
            QCOMPARE(e.position(), 2);
        }
        QCOMPARE(run(QStringLiteral("=AddTax(100, 10)"), scope), QStringLiteral("110"));
    }

    void printsOnceOrPerRow_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<bool>("once");
        QTest::addColumn<QString>("statement");
        QTest::newRow("constant") << "=1+1" << true << "";
        QTest::newRow("aggregate") << "=Sum({Orders.Amount})" << true << "";
        QTest::newRow("field") << "={Orders.Amount}" << false << "Orders";
        QTest::newRow("field and aggregate") << "={Orders.Amount} / Sum({Orders.Amount})" << false << "Orders";
        QTest::newRow("running sum") << "=RunningSum({Customers.Id})" << false << "Customers";
    }
    void printsOnceOrPerRow()
    {
        QFETCH(QString, formula);
        QFETCH(bool, once);
        QFETCH(QString, statement);
        Expression e(formula);
        QCOMPARE(e.printsOnce(), once);
        QCOMPARE(e.rowStatement(), statement);
    }

    void pageSumOverThePagesRows()
    {
        TestScope scope;
        Expression e(QStringLiteral("=PageSum({Orders.Qty})"));
        e.bind(scope);
        QVERIFY(e.usesPage());
        scope.setPageRows(1, 3);
        QCOMPARE(shown(e.evaluate(scope)), QStringLiteral("5"));
        scope.setPageRows(0, 1);
        QCOMPARE(shown(e.evaluate(scope)), QStringLiteral("2"));
    }

    // Aggregates are worked out once per run however many rows print them.
    void aggregatesOnceRowsMany()
    {
        TestScope scope;
        Expression e(QStringLiteral("={Orders.Qty} * 100 / Sum({Orders.Qty})"));
        e.bind(scope);
        QStringList out;
        for (int row = 0; row < 3; ++row) {
            scope.standOn(e.rowStatement(), row);
            out << shown(e.evaluate(scope));
        }
        QCOMPARE(out, QStringList({"28.5714285714286", "14.2857142857143", "57.1428571428571"}));
    }

    // A formula without the leading "=" is no expression: its legacy result stays.
    void legacyFormulasKeepTheirResults_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::addColumn<QString>("result");
        QTest::newRow("only the first slash") << "{A.Total}/{A.Count}/2" << "37.5";
        QTest::newRow("function names are text") << "Round{{A.Total}}/2" << "0";
        QTest::newRow("blank before equals") << " =1+1" << " =1+1";
        QTest::newRow("sum is text") << "Sum({A.Total})" << "Sum(150)";
    }
    void legacyFormulasKeepTheirResults()
    {
        QFETCH(QString, formula);
        QFETCH(QString, result);
        QVERIFY(!Expression::isExpression(formula));
        MemoryRecordset rs({QStringLiteral("Total"), QStringLiteral("Count")}, {6, 3});
        rs.appendRow({150.0, 4});
        QCOMPARE(FormulaEvaluator::AnalyseFunction(formula, rs), result);
    }

    // The host's AnalyseFunction: an expression's fields are the recordset's,
    // whatever statement they name; values from its first row.
    void hostEvaluatesExpressions()
    {
        MemoryRecordset rs({QStringLiteral("Total"), QStringLiteral("Count")}, {6, 3});
        rs.appendRow({150.0, 4});
        rs.appendRow({50.0, 1});
        rs.moveNext();
        QCOMPARE(FormulaEvaluator::AnalyseFunction(QStringLiteral("={Any.Total} / {Any.Count}"), rs), QStringLiteral("37.5"));
        QCOMPARE(FormulaEvaluator::AnalyseFunction(QStringLiteral("=Sum({X.Total}) & \" in \" & Count(*)"), rs), QStringLiteral("200 in 2"));
        QVERIFY_THROWS_EXCEPTION(ExpressionError, FormulaEvaluator::AnalyseFunction(QStringLiteral("={X.Nope}"), rs));
    }

    void formats_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("result");
        const QVariant amount = 1234.5;
        const QVariant day = QDate(2024, 3, 15);
        // Numbers: "0" a digit always shown, "#" a digit, "," thousands, "." decimals, "%" times 100.
        QTest::newRow("thousands and decimals") << amount << "#,##0.00" << "en_US" << "1,234.50";
        QTest::newRow("german separators") << amount << "#,##0.00" << "de_DE" << "1.234,50";
        QTest::newRow("no thousands") << amount << "0.00" << "en_US" << "1234.50";
        QTest::newRow("rounds half away from zero") << QVariant(2.345) << "0.00" << "en_US" << "2.35";
        QTest::newRow("negative rounds away") << QVariant(-2.5) << "0" << "en_US" << "-3";
        QTest::newRow("no minus on zero") << QVariant(-0.004) << "0.00" << "en_US" << "0.00";
        QTest::newRow("percent pattern") << QVariant(0.125) << "0.0%" << "en_US" << "12.5%";
        QTest::newRow("fixed") << amount << "Fixed" << "en_US" << "1234.50";
        QTest::newRow("standard") << amount << "Standard" << "en_US" << "1,234.50";
        QTest::newRow("percent") << QVariant(0.125) << "Percent" << "en_US" << "12.50%";
        QTest::newRow("currency") << amount << "Currency" << "en_US" << "$1,234.50";
        QTest::newRow("currency in pounds") << amount << "Currency" << "en_GB" << QString::fromUtf8("\u00a31,234.50");
        QTest::newRow("number in a text") << QVariant(QStringLiteral("12.5")) << "0.00" << "en_US" << "12.50";
        QTest::newRow("integer") << QVariant(42) << "0.0" << "en_US" << "42.0";
        // Truth values: the first word for True (any number but 0), the second for False.
        QTest::newRow("yes") << QVariant(true) << "Yes/No" << "en_US" << "Yes";
        QTest::newRow("no") << QVariant(false) << "Yes/No" << "en_US" << "No";
        QTest::newRow("true") << QVariant(5) << "True/False" << "en_US" << "True";
        QTest::newRow("off") << QVariant(0) << "On/Off" << "en_US" << "Off";
        // Dates.
        QTest::newRow("short date us") << day << "Short Date" << "en_US" << "3/15/2024";
        QTest::newRow("short date uk") << day << "Short Date" << "en_GB" << "15/03/2024";
        QTest::newRow("short date german") << day << "Short Date" << "de_DE" << "15.03.2024";
        QTest::newRow("long date us") << day << "Long Date" << "en_US" << "Friday, March 15, 2024";
        QTest::newRow("day month year") << day << "dd/mm/yyyy" << "en_US" << "15/03/2024";
        QTest::newRow("month name") << day << "mmm d, yyyy" << "en_US" << "Mar 15, 2024";
        QTest::newRow("hours and minutes") << QVariant(QDateTime(QDate(2024, 3, 15), QTime(9, 5))) << "hh:nn" << "en_US" << "09:05";
        QTest::newRow("afternoon on a twelve-hour clock")
            << QVariant(QDateTime(QDate(2024, 3, 15), QTime(14, 30))) << "hh:nn AM/PM" << "en_US" << "02:30 PM";
        QTest::newRow("midnight on a twelve-hour clock")
            << QVariant(QDateTime(QDate(2024, 3, 15), QTime(0, 5))) << "h:nn am/pm" << "en_US" << "12:05 am";
        QTest::newRow("noon on a twelve-hour clock")
            << QVariant(QDateTime(QDate(2024, 3, 15), QTime(12, 0))) << "h:nn AM/PM" << "en_US" << "12:00 PM";
        QTest::newRow("minutes after hours") << QVariant(QDateTime(QDate(2024, 3, 15), QTime(9, 5))) << "h:mm" << "en_US" << "9:05";
        QTest::newRow("date in a text") << QVariant(QStringLiteral("2024-03-15")) << "dd/mm/yyyy" << "en_US" << "15/03/2024";
        // Text: "@" a character or a blank, filled from the right; "!" from the left; "&" a character or nothing.
        QTest::newRow("text right aligned") << QVariant(QStringLiteral("abc")) << "@@@@@" << "en_US" << "  abc";
        QTest::newRow("text left aligned") << QVariant(QStringLiteral("abc")) << "!@@@@@" << "en_US" << "abc  ";
        QTest::newRow("text longer than the pattern") << QVariant(QStringLiteral("abcdef")) << "@@@" << "en_US" << "abcdef";
        QTest::newRow("text with a literal") << QVariant(QStringLiteral("5551234")) << "@@@-@@@@" << "en_US" << "555-1234";
        QTest::newRow("ampersand takes no blank") << QVariant(QStringLiteral("abc")) << "&&&&&" << "en_US" << "abc";
        QTest::newRow("upper case") << QVariant(QStringLiteral("abc")) << ">" << "en_US" << "ABC";
        QTest::newRow("lower case") << QVariant(QStringLiteral("AbC")) << "<" << "en_US" << "abc";
        // Patterns that do not fit the value: the value unformatted.
        QTest::newRow("date pattern on a number") << amount << "dd/mm/yyyy" << "en_US" << "1234.5";
        QTest::newRow("number pattern on a date") << day << "#,##0.00" << "en_US" << "2024-03-15";
        QTest::newRow("number pattern on a word") << QVariant(QStringLiteral("abc")) << "0.00" << "en_US" << "abc";
        QTest::newRow("truth pattern on a word") << QVariant(QStringLiteral("abc")) << "Yes/No" << "en_US" << "abc";
        QTest::newRow("no pattern, german decimals") << amount << "" << "de_DE" << "1234,5";
    }
    void formats()
    {
        QFETCH(QVariant, value);
        QFETCH(QString, pattern);
        QFETCH(QString, locale);
        QFETCH(QString, result);
        QCOMPARE(ValueFormat::format(value, pattern, ValueFormat::localeOf(locale)), result);
    }

    void unknownLocaleIsTheSystems()
    {
        QCOMPARE(ValueFormat::localeOf(QStringLiteral("xx_nowhere")), QLocale());
        QCOMPARE(ValueFormat::localeOf(QString()), QLocale());
        QCOMPARE(ValueFormat::localeOf(QStringLiteral("de-DE")).decimalPoint(), QStringLiteral(","));
    }
};

QTEST_GUILESS_MAIN(TestExpression)
#include "tst_expression.moc"

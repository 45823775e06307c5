#include "SqlSyntaxChecker.h"
#include "SqlWordScanner.h"

#include <QtTest>

using namespace KRML_ReportGen;
using Kind = SqlSyntaxChecker::WordClass;

class TestSqlSyntax : public QObject
{
    Q_OBJECT

    static QString classes(const SqlSyntaxChecker::Result &r)
    {
        QStringList out;
        for (const auto &s : r.spans) {
            const char *k = s.kind == Kind::Query ? "Q" : s.kind == Kind::Command ? "C" : s.kind == Kind::Table ? "T" : s.kind == Kind::Column ? "K" : "-";
            out << r.text.mid(s.start, s.length) + QLatin1Char(':') + QLatin1String(k);
        }
        return out.join(QLatin1Char(' '));
    }

private slots:
    void words_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("words");
        QTest::newRow("blanks") << "select name from customers " << QStringList{"select", "name", "from", "customers"};
        QTest::newRow("delimiters") << "a.b=(c,'d') " << QStringList{"a", "b", "c", "d"};
        QTest::newRow("line breaks join words") << "SELECT\r\nFROM x " << QStringList{"SELECT\r\nFROM", "x"};
        // A text without a closing blank (the check always adds one): its
        // last character is a word of its own.
        QTest::newRow("no closing blank") << "abc" << QStringList{"ab", "c"};
        QTest::newRow("empty") << "" << QStringList{};
        QTest::newRow("only delimiters") << "((.,)) " << QStringList{};
        QTest::newRow("one letter") << "x" << QStringList{"x"};
    }
    void words()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, words);
        QStringList got;
        for (const auto &w : SqlWordScanner::words(text)) {
            got << w.text;
            QCOMPARE(text.mid(w.start, w.text.size()), w.text);
        }
        QCOMPARE(got, words);
    }

    void check_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("classes");
        QTest::newRow("query") << "select name from customers" << "SELECT name FROM customers "
                               << "SELECT:Q name:K FROM:Q customers:T";
        QTest::newRow("table and column") << "select Name from CUSTOMERS" << "SELECT Name FROM CUSTOMERS "
                                          << "SELECT:Q Name:K FROM:Q CUSTOMERS:T";
        QTest::newRow("command") << "delete from orders" << "DELETE FROM orders " << "DELETE:C FROM:C orders:T";
        QTest::newRow("command ends the query") << "select x from orders drop" << "SELECT x FROM orders DROP "
                                                << "SELECT:Q x:- FROM:Q orders:T DROP:C";
        QTest::newRow("a one-letter alias is no keyword") << "select a.name from orders a"
                                                          << "SELECT a.name FROM orders a "
                                                          << "SELECT:Q a:- name:K FROM:Q orders:T a:-";
        QTest::newRow("fragments of entries are no keywords") << "sel ect, or der" << "sel ect, OR der "
                                                               << "sel:- ect:- OR:Q der:-";
        QTest::newRow("string literals untouched") << "select * from t where city = 'Berlin in May' or x = \"and\""
                                                   << "SELECT * FROM t WHERE city = 'Berlin in May' OR x = \"and\" "
                                                   << "SELECT:Q FROM:Q t:- WHERE:Q city:- OR:Q x:-";
        QTest::newRow("bracketed names untouched") << "select [order by] from [select]"
                                                   << "SELECT [order by] FROM [select] " << "SELECT:Q FROM:Q";
        QTest::newRow("whole words only") << "select selection, fromage from orders"
                                          << "SELECT selection, fromage FROM orders "
                                          << "SELECT:Q selection:- fromage:- FROM:Q orders:T";
        QTest::newRow("every whole-word occurrence") << "select x from t where select_x = 1 and x in (select y from u)"
                                                     << "SELECT x FROM t WHERE select_x = 1 AND x IN (SELECT y FROM u) "
                                                     << "SELECT:Q x:- FROM:Q t:- WHERE:Q select_x:- 1:- AND:Q x:- IN:Q SELECT:Q y:- FROM:Q u:-";
        QTest::newRow("an unclosed quote runs to the end") << "select 'abc from t" << "SELECT 'abc from t " << "SELECT:Q";
        QTest::newRow("unknown names stay black") << "select qty from stock" << "SELECT qty FROM stock "
                                                  << "SELECT:Q qty:- FROM:Q stock:-";
        QTest::newRow("line break hides the keyword") << "SELECT\r\nFROM x" << "SELECT\r\nFROM x " << "SELECT\r\nFROM:- x:-";
    }
    void check()
    {
        QFETCH(QString, text);
        QFETCH(QString, result);
        QFETCH(QString, classes);
        const auto r = SqlSyntaxChecker::CheckSyntax(text, {QStringLiteral("Customers"), QStringLiteral("Orders")},
                                                     {QStringLiteral("Name"), QStringLiteral("Total")});
        QCOMPARE(r.text, result);
        QCOMPARE(this->classes(r), classes);
    }

    void colours()
    {
        QCOMPARE(SqlSyntaxChecker::rgb(Kind::Query), 0x0000FFu);
        QCOMPARE(SqlSyntaxChecker::rgb(Kind::Command), 0x00FF00u);
        QCOMPARE(SqlSyntaxChecker::rgb(Kind::Table), 0xFF00FFu);
        QCOMPARE(SqlSyntaxChecker::rgb(Kind::Column), 0x00FFFFu);
        QCOMPARE(SqlSyntaxChecker::rgb(Kind::Other), 0u);
    }
};

QTEST_APPLESS_MAIN(TestSqlSyntax)
#include "tst_sqlsyntax.moc"

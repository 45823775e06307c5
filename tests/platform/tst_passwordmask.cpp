// Passwords of connection strings never reach the user's screen or the
// programs' output: the mask itself, the console prompts, and the errors of
// a connection that fails to open.

#include "ConsolePrompts.h"
#include "DbConnection.h"
#include "PasswordMask.h"
#include "ReportError.h"

#include <QtTest>

using namespace KRML_ReportGen;

class TestPasswordMask : public QObject
{
    Q_OBJECT
private slots:
    void hide_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Password") << "Provider=PostgreSQL;Host=db;User ID=sa;Password=s3cret;Database=sales"
                                  << "Provider=PostgreSQL;Host=db;User ID=sa;Password=***;Database=sales";
        QTest::newRow("Pwd at the end") << "Driver={SQLite3};Database=/d.db;UID=a;Pwd=s3cret"
                                        << "Driver={SQLite3};Database=/d.db;UID=a;Pwd=***";
        QTest::newRow("any letter case") << "PASSWORD=a;pWd=b" << "PASSWORD=***;pWd=***";
        QTest::newRow("blanks around =") << "User=x; Password = s3cret ;Host=h" << "User=x; Password = ***;Host=h";
        QTest::newRow("double quotes hold ;") << "Password=\"a;b\";Host=h" << "Password=***;Host=h";
        QTest::newRow("doubled quote inside") << "Pwd='it''s;x';Host=h" << "Pwd=***;Host=h";
        QTest::newRow("quote inside a plain value") << "Password=ab\"cd;Host=h" << "Password=***;Host=h";
        QTest::newRow("first of a message") << "Password=abc\r\nnext line" << "Password=***\r\nnext line";
        // A plain value runs to the end of the line, whatever follows it.
        QTest::newRow("quoted in a message") << "cannot connect with \"Host=h;Password=abc\": error 5\nnext"
                                             << "cannot connect with \"Host=h;Password=***\nnext";
        QTest::newRow("hidden already") << "cannot connect with \"Password=***\": error 5"
                                        << "cannot connect with \"Password=***\": error 5";
        QTest::newRow("two strings") << "from Pwd=a;\nto (Pwd=b)" << "from Pwd=***;\nto (Pwd=***";
        QTest::newRow("empty value") << "Password=;Host=h" << "Password=;Host=h";
        QTest::newRow("no key") << "Provider=SQLite;Data Source=/data/sales.db" << "Provider=SQLite;Data Source=/data/sales.db";
        QTest::newRow("part of another key") << "OldPassword=a;MyPwd=b" << "OldPassword=a;MyPwd=b";
        QTest::newRow("prose") << "The password is wrong." << "The password is wrong.";
        QTest::newRow("empty text") << "" << "";
    }
    void hide()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(PasswordMask::hide(text), expected);
    }

    void consolePromptsHidePasswords()
    {
        ConsolePrompts prompts(stderr, false);
        prompts.msgBox(QStringLiteral("Error 5: the data source of Provider=X;Pwd=s3cret;Host=h failed"), 48);
        QCOMPARE(prompts.messages, QStringList{QStringLiteral("Error 5: the data source of Provider=X;Pwd=***;Host=h failed")});
    }

    void failedOpenHidesThePassword()
    {
        // The provider names itself in its error; the password stays out.
        DbConnection c(QStringLiteral("Provider=Password=s3cret;Data Source=x"));
        try {
            c.open();
            QFAIL("opened");
        } catch (const ReportError &e) {
            QVERIFY2(!e.description().contains(QStringLiteral("s3cret")), qPrintable(e.description()));
            QVERIFY2(e.description().contains(QStringLiteral("Password=***")), qPrintable(e.description()));
        }
    }
};

QTEST_APPLESS_MAIN(TestPasswordMask)
#include "tst_passwordmask.moc"

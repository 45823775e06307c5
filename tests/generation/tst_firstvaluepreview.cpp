// The designer's preview of a label's first value, as its Format and
// NullText print it, read once per statement.
#include "DbConnection.h"
#include "FirstValuePreview.h"
#include "GenerationFixture.h"
#include "LayoutPage.h"
#include "ModuleState.h"

#include <QtTest>

using namespace KRML_ReportGen;

class TestFirstValuePreview : public QObject
{
    Q_OBJECT

    // The first rows of the fixture's statements, straight from the database.
    struct Source
    {
        int reads = 0;
        FirstValuePreview::Loader loader()
        {
            return [this](const QString &statement) -> std::optional<MemoryRecordset> {
                ++reads;
                const QHash<QString, QString> sql{
                    {QStringLiteral("AllOrders"), QStringLiteral("SELECT OrderID, Customer, Total, Note FROM Orders ORDER BY OrderID")},
                    {QStringLiteral("Bob"), QStringLiteral("SELECT Note FROM Orders WHERE OrderID = 2")},
                    {QStringLiteral("Nothing"), QStringLiteral("SELECT OrderID FROM Orders WHERE OrderID < 0")}};
                if (!sql.contains(statement))
                    return std::nullopt;
                auto rs = ModuleState::current().data().RDDataConnection()->openRecordset(sql.value(statement));
                return MemoryRecordset::copyOf(*rs, 1000);
            };
        }
    };

private slots:
    void preview_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("nullText");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("text");
        const QString total = QStringLiteral("DATA:AllOrders.Total");
        QTest::newRow("as it is") << total << QString() << QString() << QString() << true << "150";
        QTest::newRow("a number pattern") << total << QString() << "#,##0.00" << QString() << true << "150.00";
        QTest::newRow("currency") << total << QString() << "Currency" << QString() << true << "$150.00";
        QTest::newRow("a text pattern") << "DATA:AllOrders.Customer" << QString() << ">" << QString() << true << "ANN";
        QTest::newRow("null with a null text") << "DATA:Bob.Note" << QString() << QString() << "(none)" << true << "(none)";
        QTest::newRow("null without one") << "DATA:Bob.Note" << QString() << "0.00" << QString() << true << "";
        QTest::newRow("a formula per row") << "FORMULA:={AllOrders.Total} * 2" << "={AllOrders.Total} * 2" << "0.0" << QString()
                                           << true << "300.0";
        QTest::newRow("a formula that prints once") << "FORMULA:=Sum({AllOrders.Total})" << "=Sum({AllOrders.Total})" << "0.00"
                                                    << QString() << true << "276.50";
        QTest::newRow("no rows") << "DATA:Nothing.OrderID" << QString() << QString() << QString() << false
                                 << "\"Nothing\" has no rows to show a value on.";
        QTest::newRow("no such field") << "DATA:AllOrders.Missing" << QString() << QString() << QString() << false
                                       << "The statement \"AllOrders\" has no field \"Missing\".";
        QTest::newRow("no such statement") << "DATA:Elsewhere.X" << QString() << QString() << QString() << false
                                           << "The report SQL file has no statement \"Elsewhere\"";
    }
    void preview()
    {
        QFETCH(QString, tag);
        QFETCH(QString, caption);
        QFETCH(QString, format);
        QFETCH(QString, nullText);
        QFETCH(bool, ok);
        QFETCH(QString, text);
        GenerationFixture fixture;
        LayoutPage page;
        page.extension().Locale = QStringLiteral("en_US");
        const int i = GenerationFixture::label(page, 600, 1000, 240, caption.isNull() ? tag.mid(5) : caption, tag);
        Source source;
        FirstValuePreview preview(source.loader());
        const FirstValuePreview::Result r = preview.preview(page, i, format, nullText);
        QCOMPARE(r.text, text);
        QCOMPARE(r.ok, ok);
    }

    void aBadFormulaSaysWhy()
    {
        GenerationFixture fixture;
        LayoutPage page;
        const int i = GenerationFixture::label(page, 600, 1000, 240, QStringLiteral("=1 +"), QStringLiteral("FORMULA:=1 +"));
        Source source;
        FirstValuePreview preview(source.loader());
        const FirstValuePreview::Result r = preview.preview(page, i, QString(), QString());
        QVERIFY(!r.ok);
        QVERIFY(!r.text.isEmpty());
    }

    void rowsAreReadOncePerStatement()
    {
        GenerationFixture fixture;
        LayoutPage page;
        page.extension().Locale = QStringLiteral("en_US");
        const int i = GenerationFixture::label(page, 600, 1000, 240, QString(), QStringLiteral("DATA:AllOrders.Total"));
        const int missing = GenerationFixture::label(page, 600, 2000, 240, QString(), QStringLiteral("DATA:Elsewhere.X"));
        Source source;
        FirstValuePreview preview(source.loader());
        // Typing a format, character by character.
        QString typed;
        for (const QChar c : QStringLiteral("0.00")) {
            typed += c;
            preview.preview(page, i, typed, QString());
        }
        QCOMPARE(preview.preview(page, i, typed, QString()).text, QStringLiteral("150.00"));
        preview.preview(page, missing, QString(), QString());
        preview.preview(page, missing, QStringLiteral("0"), QString());
        QCOMPARE(source.reads, 2); // a statement that gives nothing is not asked again either
        preview.clear();
        preview.preview(page, i, typed, QString());
        QCOMPARE(source.reads, 3);
    }
};

QTEST_MAIN(TestFirstValuePreview)
#include "tst_firstvaluepreview.moc"

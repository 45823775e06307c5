#include "ExcelNumberFormat.h"
#include "GenerationFixture.h"
#include "QueryLoader.h"
#include "ReportError.h"
#include "ReportExport.h"
#include "ReportGenerator.h"
#include "ScriptedPrompts.h"

#include <QtTest>

using namespace KRML_ReportGen;

Q_DECLARE_METATYPE(XlsxSurface::NumberFormat)

// Exports as the generator runs them: the cells' number formats a label's
// Format becomes, the progress an export tells and a run stopped on the way.
class TestExportRun : public QObject
{
    Q_OBJECT

    // A paginated report of 120 lines: several pages of the list "Lines".
    struct Run
    {
        GenerationFixture fixture{QByteArray("marlowentallymasterfile\r\nnoofparams=0\r\n##########\r\n1\r\n"
                                             "tablename=Lines\r\nSELECT N, Amount FROM Lines ORDER BY N\r\n"
                                             "tablename=endreport")};
        ScriptedPrompts prompts;
        LayoutPage page;
        QueryLoader loader{fixture.files, prompts};
        ReportGenerator generator{page, loader};

        Run()
        {
            QString sql = QStringLiteral("CREATE TABLE Lines (N INTEGER, Amount REAL); BEGIN;");
            for (int i = 1; i <= 120; ++i)
                sql += QStringLiteral("INSERT INTO Lines VALUES (%1, %2);").arg(i).arg(i * 1.25);
            SqliteEngine::create(fixture.app.filePath(QStringLiteral("sales.db")))->runScript(sql + QStringLiteral("COMMIT;"));
            page.setHeight(4000);
            GenerationFixture::label(page, 100, 100, 240, QStringLiteral("Lines"));
            GenerationFixture::label(page, 100, 1000, 240, QString(), QStringLiteral("DATA:Lines.N"));
            GenerationFixture::label(page, 2000, 1000, 240, QString(), QStringLiteral("DATA:Lines.Amount"));
            generator.setPaginate(true);
        }
        const ReportExport::Format &format(const QString &suffix) const
        {
            static const QList<ReportExport::Format> formats = ReportExport::standardFormats();
            return *ReportExport::formatWithSuffix(formats, suffix);
        }
    };

    static QStringList filesIn(const QString &folder)
    {
        return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

private slots:
    void numberFormatOfAPattern_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("values");
        using F = XlsxSurface::NumberFormat;
        const int numbers = F::Numbers | F::TruthValues;
        QTest::newRow("none") << "en_US" << "" << "" << 0;
        QTest::newRow("#,##0.00") << "en_US" << "#,##0.00" << "#,##0.00" << numbers;
        QTest::newRow("0.00") << "en_US" << "0.00" << "0.00" << numbers;
        QTest::newRow("#.##: the units digit always") << "en_US" << "#.##" << "0.00" << numbers;
        QTest::newRow("0") << "en_US" << "0" << "0" << numbers;
        QTest::newRow("0.0%") << "en_US" << "0.0%" << "0.0%" << numbers;
        QTest::newRow("Fixed") << "en_US" << "Fixed" << "0.00" << numbers;
        QTest::newRow("Standard") << "en_US" << "standard" << "#,##0.00" << numbers;
        QTest::newRow("Percent") << "en_US" << "Percent" << "0.00%" << numbers;
        // The locale's negative amounts too: "($1,234.50)".
        QTest::newRow("Currency en_US") << "en_US" << "Currency" << "\\$#,##0.00;\"($\"#,##0.00\\)" << int(F::Numbers);
        QTest::newRow("Currency de_DE") << "de_DE" << "Currency"
                                        << QString::fromUtf8("#,##0.00\"\u00a0\u20ac\";-#,##0.00\"\u00a0\u20ac\"") << int(F::Numbers);
        QTest::newRow("Yes/No") << "en_US" << "Yes/No" << "\"Yes\";\"Yes\";\"No\"" << numbers;
        QTest::newRow("True/False") << "en_US" << "True/False" << "\"True\";\"True\";\"False\"" << numbers;
        QTest::newRow("on/off as typed") << "en_US" << "on/off" << "\"on\";\"on\";\"off\"" << numbers;
        QTest::newRow("Short Date en_US") << "en_US" << "Short Date" << "m\\/d\\/yyyy" << int(F::Dates);
        QTest::newRow("Short Date de_DE") << "de_DE" << "Short Date" << "dd\\.mm\\.yyyy" << int(F::Dates);
        QTest::newRow("Long Date en_US") << "en_US" << "Long Date" << "[$-409]dddd, mmmm d, yyyy" << int(F::Dates);
        QTest::newRow("Long Date de_DE") << "de_DE" << "Long Date" << "[$-407]dddd, d\\. mmmm yyyy" << int(F::Dates);
        QTest::newRow("dd/mm/yyyy") << "de_DE" << "dd/mm/yyyy" << "dd\\/mm\\/yyyy" << int(F::Dates);
        QTest::newRow("hh:nn") << "en_US" << "hh:nn" << "hh\\:mm" << int(F::Dates);
        QTest::newRow("hh:nn:ss") << "en_US" << "hh:nn:ss" << "hh\\:mm\\:ss" << int(F::Dates);
        QTest::newRow("h:n: minutes after an hour") << "en_US" << "h:n" << "h\\:m" << int(F::Dates);
        QTest::newRow("hh:mm: minutes after an hour") << "en_US" << "hh:mm" << "hh\\:mm" << int(F::Dates);
        QTest::newRow("nn:ss: minutes before seconds") << "en_US" << "nn:ss" << "mm\\:ss" << int(F::Dates);
        QTest::newRow("Short Time") << "en_US" << "Short Time" << "hh\\:mm" << int(F::Dates);
        QTest::newRow("Long Time") << "en_US" << "Long Time" << "hh\\:mm\\:ss" << int(F::Dates);
        QTest::newRow("AM/PM") << "en_US" << "h:nn AM/PM" << "h\\:mm AM/PM" << int(F::Dates);
        QTest::newRow("yyyy-mm-dd hh:nn") << "en_US" << "yyyy-mm-dd hh:nn" << "yyyy-mm-dd hh\\:mm" << int(F::Dates);
        QTest::newRow("English names") << "de_DE" << "ddd d mmmm yy" << "[$-409]ddd d mmmm yy" << int(F::Dates);
        QTest::newRow("mmm-yyyy") << "en_US" << "mmm-yyyy" << "[$-409]mmm-yyyy" << int(F::Dates);
        QTest::newRow("quoted text") << "en_US" << "\"Day \"d" << "\"Day\" d" << int(F::Dates);
        QTest::newRow("escaped letter") << "en_US" << "d\\x" << "d\\x" << int(F::Dates);
        QTest::newRow("yyyy.mm.dd") << "en_US" << "yyyy.mm.dd" << "yyyy\\.mm\\.dd" << int(F::Dates);
        // Parts Excel has no code for: no format rather than another text.
        QTest::newRow("quarter") << "en_US" << "yyyy q" << "" << 0;
        QTest::newRow("week") << "en_US" << "ww" << "" << 0;
        QTest::newRow("weekday number") << "en_US" << "w" << "" << 0;
        QTest::newRow("day of the year") << "en_US" << "y" << "" << 0;
        QTest::newRow("minutes alone") << "en_US" << "nn" << "" << 0;
        QTest::newRow("month before seconds") << "en_US" << "mm:ss" << "" << 0;
        QTest::newRow("@@@-@@@@") << "en_US" << "@@@-@@@@" << "@" << int(F::Texts);
        QTest::newRow("&&&") << "en_US" << "&&&" << "@" << int(F::Texts);
        QTest::newRow(">") << "en_US" << ">" << "@" << int(F::Texts);
        QTest::newRow("!@@") << "en_US" << "!@@" << "@" << int(F::Texts);
    }
    void numberFormatOfAPattern()
    {
        QFETCH(QString, locale);
        QFETCH(QString, pattern);
        QFETCH(QString, code);
        QFETCH(int, values);
        const XlsxSurface::NumberFormat format = ExcelNumberFormat::of(pattern, QLocale(locale));
        QCOMPARE(format.code, code);
        QCOMPARE(format.values, values);
    }

    void progressCountsPages_data()
    {
        QTest::addColumn<QString>("suffix");
        for (const char *s : {"pdf", "svg", "html", "xlsx", "png"})
            QTest::newRow(s) << s;
    }
    void progressCountsPages()
    {
        QFETCH(QString, suffix);
        Run r;
        QTemporaryDir out;
        QList<QPair<int, int>> pages;
        r.generator.setPageProgress([&](int done, int total) { pages.append({done, total}); });
        const ReportExport::Format &format = r.format(suffix);
        ReportExport::Options options;
        options.filePerPage = format.filePerPage;
        const QStringList written = format.write(r.generator, r.page, out.filePath(QStringLiteral("r.") + suffix), options);
        const int count = r.generator.pageCount();
        QVERIFY2(count >= 4, qPrintable(QString::number(count)));
        // Every file in place under its own name, nothing else beside it.
        QCOMPARE(written.size(), format.filePerPage ? count : 1);
        QStringList names;
        for (const QString &f : written)
            names << QFileInfo(f).fileName();
        names.sort();
        QCOMPARE(filesIn(out.path()), names);
        QCOMPARE(pages.size(), count);
        for (int i = 0; i < pages.size(); ++i)
            QCOMPARE(pages[i], qMakePair(i + 1, count));
    }

    void progressCountsRows_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QList<int>>("told");
        // A workbook's data sheet and the CSV files: every 500 rows and the last.
        QTest::newRow("xlsx") << "xlsx" << QList<int>{0, 120};
        QTest::newRow("csv") << "csv" << QList<int>{0, 120};
    }
    void progressCountsRows()
    {
        QFETCH(QString, suffix);
        QFETCH(QList<int>, told);
        Run r;
        QTemporaryDir out;
        QList<int> rows;
        r.generator.setRowProgress([&](int done, int total) {
            QCOMPARE(total, 120);
            rows.append(done);
        });
        r.format(suffix).write(r.generator, r.page, out.filePath(QStringLiteral("r.") + suffix), {});
        QCOMPARE(rows, told);
    }

    // Stopped on the way (the user's Cancel), an export leaves no file
    // behind, and an older file at its path as it was.
    void cancelledExportLeavesTheOlderFile_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<bool>("atRows"); // stopped while the rows are written, not the pages
        for (const char *s : {"pdf", "html", "xlsx", "svg", "png"})
            QTest::newRow(s) << s << false;
        QTest::newRow("xlsx data sheet") << "xlsx" << true;
        QTest::newRow("csv") << "csv" << true;
    }
    void cancelledExportLeavesTheOlderFile()
    {
        QFETCH(QString, suffix);
        QFETCH(bool, atRows);
        Run r;
        QTemporaryDir out;
        // The CSV file of the statement "Lines" is r-Lines.csv; pictures
        // are a file per page, r-1.png ...
        const QString path = out.filePath(QStringLiteral("r.") + suffix);
        const bool pictures = r.format(suffix).filePerPage;
        const QString older = suffix == QLatin1String("csv") ? out.filePath(QStringLiteral("r-Lines.csv"))
                              : pictures                     ? out.filePath(QStringLiteral("r-1.") + suffix)
                                                             : path;
        ReportExport::Options options;
        options.filePerPage = pictures;
        QFile file(older);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("an older export");
        file.close();
        const auto cancel = [](int done, int) {
            if (done >= 2)
                throw ReportError(ReportError::UserInterrupt, QStringLiteral("User interrupt occurred"));
        };
        if (atRows)
            r.generator.setRowProgress([&](int done, int total) { cancel(done == total ? 2 : done, total); });
        else
            r.generator.setPageProgress(cancel);
        try {
            r.format(suffix).write(r.generator, r.page, path, options);
            QFAIL("the export ran to its end");
        } catch (const ReportError &e) {
            QCOMPARE(e.number(), 18);
        }
        QCOMPARE(filesIn(out.path()), QStringList{QFileInfo(older).fileName()});
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("an older export"));
    }
};

QTEST_MAIN(TestExportRun)
#include "tst_exportrun.moc"

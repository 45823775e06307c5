#include "ArchiveMembers.h"
#include "CGZipFiles.h"
#include "LayoutExtension.h"
#include "LayoutExtensionFile.h"
#include "LayoutFile.h"
#include "LayoutPackage.h"
#include "LayoutPage.h"
#include "LocalFileService.h"
#include "ModuleState.h"
#include "ProcessTempNames.h"
#include "ScriptedPrompts.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace KRML_ReportGen;

class TestLayoutExtension : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_app;
    LocalFileService m_files;
    ProcessTempNames m_temp;
    ScriptedPrompts m_prompts;
    LayoutPage m_page;

    LayoutPackage package() { return LayoutPackage(m_files, m_temp, m_prompts, m_page); }
    LayoutPackage::Result open(const QString &path)
    {
        QString cur;
        return package().openLayout(path, cur, [&] { package().clearLayout(); });
    }
    // A package made by hand: one label, and the given Layout.ext (none when null).
    QString handMade(const QByteArray &ext)
    {
        QTemporaryDir *dir = new QTemporaryDir;
        dir->setAutoRemove(true);
        m_dirs.emplace_back(dir);
        LayoutPage source;
        const int l = source.createLabel();
        source.Label(l).Caption = QStringLiteral("Hand made");
        LayoutFile::WriteLayoutFile(m_files, dir->path(), source);
        CGZipFiles zip;
        zip.setZipFileName(dir->filePath(QStringLiteral("hand.lrd")));
        zip.AddFile(dir->filePath(QStringLiteral("Layout.krml")));
        if (!ext.isNull()) {
            m_files.writeBytes(dir->filePath(QStringLiteral("Layout.ext")), ext);
            zip.AddFile(dir->filePath(QStringLiteral("Layout.ext")));
        }
        if (zip.MakeZipFile() != 0)
            return QString();
        return dir->filePath(QStringLiteral("hand.lrd"));
    }
    std::vector<std::unique_ptr<QTemporaryDir>> m_dirs;

private slots:
    void init()
    {
        m_app = std::make_unique<QTemporaryDir>();
        m_prompts.calls.clear();
        m_prompts.answers.clear();
        m_page.removeAll();
        ModuleState::current().reset();
        ModuleState::current().setRdAppPath(m_app->path());
    }

    void reading_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<float>("margin");
        QTest::addColumn<bool>("paginate");
        QTest::addColumn<QStringList>("kept");
        QTest::addColumn<QStringList>("problems");
        QTest::newRow("empty") << QByteArray("") << 567.0f << false << QStringList() << QStringList();
        QTest::newRow("both keys") << QByteArray("Page.BottomMargin=1134\r\nPage.Paginate=True\r\n") << 1134.0f << true
                                   << QStringList() << QStringList();
        QTest::newRow("any letter case, fractions, numeric truth")
            << QByteArray("page.bottommargin=850.5\r\nPAGE.PAGINATE=-1\r\n") << 850.5f << true << QStringList() << QStringList();
        QTest::newRow("unknown keys kept as written")
            << QByteArray("Page.Watermark=Draft = not final\r\nPage.Paginate=False\r\nLabel(3).Tooltip=#,##0.00\r\n") << 567.0f
            << false << QStringList{"Page.Watermark=Draft = not final", "Label(3).Tooltip=#,##0.00"} << QStringList();
        QTest::newRow("malformed lines skipped with their number")
            << QByteArray("Page.BottomMargin=900\r\nno equals sign\r\n\r\nWidth=3\r\nLabel(0).Top=5\r\nPage.Paginate=maybe\r\n"
                          "Page.BottomMargin=-4\r\nPage.Paginate=True")
            << 900.0f << true << QStringList()
            << QStringList{"Layout.ext, line 2: \"no equals sign\" is not Key=Value; the line is skipped.",
                           "Layout.ext, line 4: \"Width\" is not a Page.Key, Report.Key or Label(i).Key; the line is skipped.",
                           "Layout.ext, line 5: \"Label(0).Top\" is not a Page.Key, Report.Key or Label(i).Key; the line is skipped.",
                           "Layout.ext, line 6: \"maybe\" is not a value for Page.Paginate (True or False); the line is skipped.",
                           "Layout.ext, line 7: \"-4\" is not a value for Page.BottomMargin (twips from 0 to 32767); the line is "
                           "skipped."};
        QTest::newRow("lone LF lines") << QByteArray("Page.BottomMargin=700\nPage.Paginate=True\n") << 700.0f << true
                                       << QStringList() << QStringList();
    }
    void reading()
    {
        QFETCH(QByteArray, text);
        QFETCH(float, margin);
        QFETCH(bool, paginate);
        QFETCH(QStringList, kept);
        QFETCH(QStringList, problems);
        LayoutExtension ext;
        QCOMPARE(LayoutExtensionFile::read(text, ext), problems);
        QCOMPARE(ext.BottomMargin, margin);
        QCOMPARE(ext.Paginate, paginate);
        QStringList keys;
        for (const auto &[key, value] : ext.otherKeys)
            keys << key + QLatin1Char('=') + value;
        QCOMPARE(keys, kept);
    }

    void writing()
    {
        LayoutExtension ext;
        QVERIFY(ext.isDefault());
        ext.BottomMargin = 850.5f;
        ext.Paginate = true;
        ext.otherKeys = {{QStringLiteral("Label(2).Tooltip"), QStringLiteral("0.00")}, {QStringLiteral("Page.Watermark"), QString()}};
        QCOMPARE(LayoutExtensionFile::write(ext),
                 QByteArray("Page.BottomMargin=850.5\r\nPage.Paginate=True\r\nLabel(2).Tooltip=0.00\r\nPage.Watermark=\r\n"));
        QVERIFY(!ext.isDefault());
    }

    void labelFormatsAndReportKeys()
    {
        LayoutExtension ext;
        const QByteArray text("Report.Locale=de_DE\r\nReport.TaxRate=19\r\nLabel(2).Format=#,##0.00\r\nlabel(2).nulltext= - \r\n"
                              "Label(7).CanGrow=True\r\nLabel(7).Hint=kept\r\nReport.TaxRate=a lot\r\nLabel(4).CanGrow=often\r\n"
                              "Label(5).Format=\r\n");
        QCOMPARE(LayoutExtensionFile::read(text, ext),
                 (QStringList{"Layout.ext, line 7: \"a lot\" is not a value for Report.TaxRate (a number of percent); the line is skipped.",
                              "Layout.ext, line 8: \"often\" is not a value for Label(4).CanGrow (True or False); the line is skipped."}));
        QCOMPARE(ext.Locale, QStringLiteral("de_DE"));
        QCOMPARE(ext.TaxRate, QStringLiteral("19"));
        QCOMPARE(ext.label(2).Format, QStringLiteral("#,##0.00"));
        QCOMPARE(ext.label(2).NullText, QStringLiteral(" - "));
        QVERIFY(!ext.label(2).CanGrow);
        QVERIFY(ext.label(7).CanGrow);
        QCOMPARE(ext.labels.keys(), (QList<int>{2, 7})); // labels at their defaults are not listed
        QCOMPARE(ext.otherKeys.size(), 1);
        QCOMPARE(LayoutExtensionFile::toText(ext),
                 QStringLiteral("Page.BottomMargin=567\r\nPage.Paginate=False\r\nReport.Locale=de_DE\r\nReport.TaxRate=19\r\n"
                                "Label(2).Format=#,##0.00\r\nLabel(2).NullText= - \r\nLabel(7).CanGrow=True\r\nLabel(7).Hint=kept\r\n"));
        QVERIFY(!ext.isDefault());
        LayoutExtension onlyFormat;
        onlyFormat.labels[3].Format = QStringLiteral("Currency");
        QVERIFY(!onlyFormat.isDefault());
    }

    // The settings travel with their labels: saved by index, opened onto the labels.
    void labelSettingsSavedAndOpened()
    {
        for (int i = 0; i < 3; ++i)
            m_page.Label(m_page.createLabel()).Visible = true;
        m_page.Label(2).Format = QStringLiteral("Currency");
        m_page.Label(3).NullText = QStringLiteral("n/a");
        m_page.Label(3).CanGrow = true;
        m_page.removeLabel(1); // the others move up one place
        QCOMPARE(LayoutExtensionFile::toText(m_page.extensionToSave()),
                 QStringLiteral("Page.BottomMargin=567\r\nPage.Paginate=False\r\nLabel(1).Format=Currency\r\n"
                                "Label(2).NullText=n/a\r\nLabel(2).CanGrow=True\r\n"));
        QVERIFY(m_page.extension().isDefault());
        const QString target = m_app->filePath(QStringLiteral("formats.lrd"));
        QCOMPARE(package().saveLayoutTo(target), LayoutPackage::Result::Done);
        QCOMPARE(archiveMembers(target), (QStringList{"Layout.krml", "Layout.ext"}));
        m_page.removeAll();
        QCOMPARE(open(target), LayoutPackage::Result::Done);
        QCOMPARE(m_page.labelCount(), 2);
        QCOMPARE(m_page.Label(1).Format, QStringLiteral("Currency"));
        QCOMPARE(m_page.Label(2).NullText, QStringLiteral("n/a"));
        QVERIFY(m_page.Label(2).CanGrow);
        QVERIFY(m_page.extension().labels.isEmpty());
    }

    void labelSettingsBeyondTheLabelsKept()
    {
        const QString path = handMade("Label(5).Format=0.00\r\nLabel(1).NullText=-\r\n");
        QCOMPARE(open(path), LayoutPackage::Result::Done);
        QCOMPARE(m_page.Label(1).NullText, QStringLiteral("-"));
        QCOMPARE(m_page.extension().otherKeys.size(), 1);
        QCOMPARE(m_page.extension().otherKeys[0].first, QStringLiteral("Label(5).Format"));
        QCOMPARE(m_page.extension().otherKeys[0].second, QStringLiteral("0.00"));
    }

    void savedAndOpenedWithUnknownKeysKept()
    {
        const int l = m_page.createLabel();
        m_page.Label(l).Visible = true;
        m_page.extension().BottomMargin = 1417;
        m_page.extension().Paginate = true;
        m_page.extension().otherKeys = {{QStringLiteral("Page.Theme"), QStringLiteral("Dark")},
                                        {QStringLiteral("Label(1).Tooltip"), QStringLiteral("yyyy-MM-dd")}};
        const QString target = m_app->filePath(QStringLiteral("ext.lrd"));
        QCOMPARE(package().saveLayoutTo(target), LayoutPackage::Result::Done);
        QCOMPARE(archiveMembers(target), (QStringList{"Layout.krml", "Layout.ext"}));

        m_page.removeAll();
        QVERIFY(m_page.extension().isDefault()); // a cleared page forgets them
        QCOMPARE(open(target), LayoutPackage::Result::Done);
        QCOMPARE(m_page.extension().BottomMargin, 1417.0f);
        QVERIFY(m_page.extension().Paginate);
        QCOMPARE(m_page.extension().otherKeys.size(), 2);
        QCOMPARE(m_page.extension().otherKeys[0].first, QStringLiteral("Page.Theme"));
        QCOMPARE(m_page.extension().otherKeys[1].second, QStringLiteral("yyyy-MM-dd"));

        // Saved again: the keys this version does not know go back unchanged.
        const QString again = m_app->filePath(QStringLiteral("again.lrd"));
        QCOMPARE(package().saveLayoutTo(again), LayoutPackage::Result::Done);
        m_page.removeAll();
        QCOMPARE(open(again), LayoutPackage::Result::Done);
        QCOMPARE(LayoutExtensionFile::toText(m_page.extension()),
                 QStringLiteral("Page.BottomMargin=1417\r\nPage.Paginate=True\r\nPage.Theme=Dark\r\nLabel(1).Tooltip=yyyy-MM-dd\r\n"));
    }

    void legacyPackageHasNone()
    {
        const QString legacy = handMade(QByteArray());
        QVERIFY(!legacy.isEmpty());
        m_page.extension().Paginate = true; // from an earlier layout
        QCOMPARE(open(legacy), LayoutPackage::Result::Done);
        QCOMPARE(m_page.Label(1).Caption, QStringLiteral("Hand made"));
        QVERIFY(m_page.extension().isDefault());
        QVERIFY(m_prompts.messages().isEmpty());
        // Saved again it stays a legacy package.
        const QString target = m_app->filePath(QStringLiteral("legacy.lrd"));
        QCOMPARE(package().saveLayoutTo(target), LayoutPackage::Result::Done);
        QCOMPARE(archiveMembers(target), QStringList{"Layout.krml"});
    }

    void malformedLinesAreReportedNotFatal()
    {
        const QString path = handMade("Page.Paginate=True\r\nPage.BottomMargin=wide\r\n");
        QCOMPARE(open(path), LayoutPackage::Result::Done);
        QCOMPARE(m_page.Label(1).Caption, QStringLiteral("Hand made"));
        QVERIFY(m_page.extension().Paginate);
        QCOMPARE(m_page.extension().BottomMargin, 567.0f);
        QCOMPARE(m_prompts.messages(),
                 QStringList{"Layout.ext, line 2: \"wide\" is not a value for Page.BottomMargin (twips from 0 to 32767); the "
                             "line is skipped."});
    }
};

QTEST_MAIN(TestLayoutExtension)
#include "tst_layoutextension.moc"

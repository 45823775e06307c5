// The control's published interface as a host uses it: through the shared
// library and the published headers only, compiled as C++17, every
// property, method and event found and used by name through the
// meta-object system, in the published order. Members added beyond the
// published interface come after it and are listed here too.

#include <KRMLReportGen/DbConnection.h>
#include <KRMLReportGen/DrawingSurface.h>
#include <KRMLReportGen/KRMLReportGenVersion.h>
#include <KRMLReportGen/LayoutLabel.h>
#include <KRMLReportGen/Recordset.h>
#include <KRMLReportGen/ReportError.h>
#include <KRMLReportGen/ReportGenOCX.h>

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMetaMethod>
#include <QMetaProperty>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>
#include <optional>

using namespace KRML_ReportGen;
using RepModes = ReportGenOCX::RepModes;

namespace {

const QStringList kPublishedProperties{
    "GridSize", "DBPath",     "curOpenFile", "ParamFieldCollection", "ParamValueCollection", "CurrentMode",      "OCXVersion",
    "PageWidth", "Pageheight", "DevMode",     "rdAppName",            "rdAppPath",            "RepDataConnection"};
const QStringList kPublishedMethods{"Reload",          "ShowPreview",    "ShowDesign",         "FlipMode",        "GenerateOutput",
                                    "AnalyseFunction", "CreateBox",      "ShowWizard",         "ShowSQLEditor",   "PrintReport",
                                    "LoadGrid",        "InsertExternalData", "InsertDataField", "InsertFormula", "InsertPicture",
                                    "InsertLabel",     "NewLayout",      "OpenLayout",         "ShowOptions",     "SaveLayout",
                                    "CheckForPrintOverlap"};
const QStringList kPublishedEvents{"ShowMe", "MousePos", "ModeSwitch", "ProcessorSending", "ProcessorReceivedResults"};

// Beyond the published interface, after it.
const QStringList kAddedProperties{"Paginate", "CodePage"};
const QStringList kAddedMethods{"ExportReport"};
const QStringList kAddedEvents{"RowsCut", "SaveFailed", "ExportProgress", "statementListChanged", "sqlEditorOpened", "dialogOpened"};

// A surface of the host's own: GenerateOutput draws on anything that
// implements the published DrawingSurface.
class HostSurface : public DrawingSurface
{
public:
    struct PrintedText
    {
        QString text;
        double x;
        double y;
    };

    Kind kind() const override { return Kind::Other; }
    void Cls() override { lines.clear(); }
    double Width() const override { return m_width; }
    void setWidth(double twips) override { m_width = twips; }
    double Height() const override { return m_height; }
    void setHeight(double twips) override { m_height = twips; }
    FontDescription Font() const override { return m_font; }
    void setFont(const FontDescription &font) override { m_font = font; }
    quint32 ForeColor() const override { return m_color; }
    void setForeColor(quint32 color) override { m_color = color; }
    double CurrentX() const override { return m_x; }
    void setCurrentX(double twips) override { m_x = twips; }
    double CurrentY() const override { return m_y; }
    void setCurrentY(double twips) override { m_y = twips; }
    double TextWidth(const QString &text) const override { return 100.0 * text.size(); }
    double TextHeight(const QString &) const override { return 240; }
    void Line(double, double, double, double, quint32, LineStyle) override {}
    void Print(const QString &text) override
    {
        lines.append({text, m_x, m_y});
        m_x = 0;
        m_y += 240;
    }
    void PaintPicture(const QImage &, double, double) override { ++pictures; }
    void NewPage() override {}
    void EndDoc() override {}

    QStringList texts() const
    {
        QStringList t;
        for (const auto &l : lines)
            t << l.text;
        return t;
    }

    QList<PrintedText> lines;
    int pictures = 0;

private:
    double m_width = 11907, m_height = 16839;
    FontDescription m_font;
    quint32 m_color = 0;
    double m_x = 0, m_y = 0;
};

// The methods that open a window run to their end: whatever window is
// modal is answered (a file dialog with the file given, if any) or closed.
class ModalAnswerer : public QObject
{
public:
    explicit ModalAnswerer(QObject *parent) : QObject(parent)
    {
        m_timer.setInterval(20);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { answer(); });
        m_timer.start();
    }
    QString saveAs;
    QStringList seen;

private:
    void answer()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        seen << QString::fromLatin1(modal->metaObject()->className());
        if (auto *files = qobject_cast<QFileDialog *>(modal); files && !saveAs.isEmpty()) {
            // Typed as a user types it: selectFile leaves the name field
            // alone while that has the focus.
            files->selectFile(saveAs);
            if (auto *name = files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
                name->setText(saveAs);
            static_cast<QDialog *>(files)->accept();
            return;
        }
        modal->close();
    }
    QTimer m_timer;
};

QStringList ownNames(const QMetaObject *mo, QMetaMethod::MethodType type)
{
    QStringList names;
    for (int i = mo->methodOffset(); i < mo->methodCount(); ++i) {
        const QMetaMethod m = mo->method(i);
        // A method with a default argument has a second entry without it.
        if (m.methodType() == type && !(m.attributes() & QMetaMethod::Cloned))
            names << QString::fromLatin1(m.name());
    }
    return names;
}

} // namespace

class tst_PublishedInterface : public QObject
{
    Q_OBJECT

public slots:
    // Connected by name (string signatures), as a binding by name does.
    void onModeSwitch(KRML_ReportGen::ReportGenOCX::RepModes &curMode)
    {
        m_modes << curMode;
        if (m_replaceMode)
            curMode = *m_replaceMode;
    }
    void onProcessorSending(KRML_ReportGen::ParameterCollection &ParamStringCollection)
    {
        for (int i = 1; i <= ParamStringCollection.Count(); ++i)
            m_sentParameters << ParamStringCollection.Item(i).ParameterName;
    }

private slots:
    void initTestCase()
    {
        // The control reads the desktop's settings: the test's own, empty.
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(m_dir.isValid());
        QDir(m_dir.path()).mkpath(QStringLiteral("app"));
        QProcess make;
        make.start(QStringLiteral(MAKEEXAMPLES), {QStringLiteral("--database-only"), m_dir.path()});
        QVERIFY(make.waitForFinished(120000));
        QCOMPARE(make.exitCode(), 0);
        m_database = m_dir.filePath(QStringLiteral("sales.db"));
        QVERIFY(QFileInfo::exists(m_database));
    }

    void propertiesInPublishedOrder()
    {
        const QMetaObject &mo = ReportGenOCX::staticMetaObject;
        QStringList names;
        for (int i = mo.propertyOffset(); i < mo.propertyCount(); ++i)
            names << QString::fromLatin1(mo.property(i).name());
        QCOMPARE(names, kPublishedProperties + kAddedProperties);
    }

    void property_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<bool>("writable");
        QTest::addColumn<QVariant>("written");
        // Read back after the write; for read-only ones, what is read.
        QTest::addColumn<QVariant>("read");
        // Types by the names Qt's meta-type system gives them (the
        // collections' alias VariantCollection is spelt out).

        const QString version = QStringLiteral("%1.%2.%3")
                                    .arg(KRML_REPORTGEN_VERSION_MAJOR)
                                    .arg(KRML_REPORTGEN_VERSION_MINOR)
                                    .arg(KRML_REPORTGEN_VERSION_REVISION);
        QTest::newRow("GridSize") << "short" << true << QVariant::fromValue(short(5)) << QVariant::fromValue(short(5));
        QTest::newRow("DBPath") << "QString" << true << QVariant(QStringLiteral("/data/sales.mdb"))
                                << QVariant(QStringLiteral("/data/sales.mdb"));
        QTest::newRow("curOpenFile") << "QString" << true << QVariant(QStringLiteral("/data/r.lrd"))
                                     << QVariant(QStringLiteral("/data/r.lrd"));
        QTest::newRow("ParamFieldCollection") << "std::shared_ptr<KRML_ReportGen::VbCollection<QVariant>>" << true << QVariant() << QVariant();
        QTest::newRow("ParamValueCollection") << "std::shared_ptr<KRML_ReportGen::VbCollection<QVariant>>" << true << QVariant() << QVariant();
        QTest::newRow("CurrentMode") << "KRML_ReportGen::ReportGenOCX::ControlModes" << true << QVariant(2) << QVariant(2);
        QTest::newRow("OCXVersion") << "QString" << false << QVariant() << QVariant(version);
        QTest::newRow("PageWidth") << "int" << true << QVariant(10000) << QVariant(10000);
        QTest::newRow("Pageheight") << "int" << true << QVariant(15000) << QVariant(15000);
        QTest::newRow("DevMode") << "bool" << true << QVariant(true) << QVariant(true);
        QTest::newRow("rdAppName") << "QString" << false << QVariant() << QVariant(QStringLiteral("Report Designer"));
        QTest::newRow("rdAppPath") << "QString" << true << QVariant(QStringLiteral("/srv/sales")) << QVariant(QStringLiteral("/srv/sales"));
        QTest::newRow("RepDataConnection") << "std::shared_ptr<KRML_ReportGen::DbConnection>" << true << QVariant() << QVariant();
        QTest::newRow("Paginate") << "bool" << true << QVariant(true) << QVariant(true);
        QTest::newRow("CodePage") << "int" << true << QVariant(1250) << QVariant(1250);
    }

    void property()
    {
        QFETCH(QString, type);
        QFETCH(bool, writable);
        QFETCH(QVariant, written);
        QFETCH(QVariant, read);
        const QByteArray name = QTest::currentDataTag();

        ReportGenOCX c;
        const int index = c.metaObject()->indexOfProperty(name);
        QVERIFY2(index >= 0, name);
        const QMetaProperty p = c.metaObject()->property(index);
        QCOMPARE(QString::fromLatin1(p.typeName()), type);
        QCOMPARE(p.isWritable(), writable);
        QVERIFY(p.isReadable());
        QVERIFY(p.isDesignable());

        if (name == "ParamFieldCollection" || name == "ParamValueCollection") {
            auto collection = std::make_shared<VariantCollection>();
            collection->Add(QStringLiteral("Start"));
            QVERIFY(c.setProperty(name, QVariant::fromValue(collection)));
            QCOMPARE(c.property(name).value<std::shared_ptr<VariantCollection>>(), collection);
        } else if (name == "RepDataConnection") {
            auto connection = std::make_shared<DbConnection>(QStringLiteral("Provider=SQLite;Data Source=") + m_database);
            connection->open();
            QVERIFY(c.setProperty(name, QVariant::fromValue(connection)));
            QCOMPARE(c.property(name).value<std::shared_ptr<DbConnection>>(), connection);
            QCOMPARE(c.RepDataConnection(), connection);
        } else {
            if (writable)
                QVERIFY(c.setProperty(name, written));
            else
                QVERIFY(!c.setProperty(name, QStringLiteral("x")));
            QVariant value = c.property(name);
            if (name == "CurrentMode")
                value = QVariant(value.toInt());
            QCOMPARE(value, read);
        }
        // The shared state goes back to how a new host finds it.
        c.setDevMode(false);
    }

    void methodsInPublishedOrder()
    {
        QCOMPARE(ownNames(&ReportGenOCX::staticMetaObject, QMetaMethod::Method), kPublishedMethods + kAddedMethods);
        QCOMPARE(ownNames(&ReportGenOCX::staticMetaObject, QMetaMethod::Slot), QStringList());
    }

    void method_data()
    {
        QTest::addColumn<QByteArray>("signature");
        QTest::addColumn<QString>("returns");
        const auto row = [](const char *signature, const char *returns) {
            const QByteArray s(signature);
            QTest::newRow(s.left(s.indexOf('(')).constData()) << s << QString::fromLatin1(returns);
        };
        row("Reload(bool)", "void");
        row("ShowPreview()", "void");
        row("ShowDesign()", "void");
        row("FlipMode(KRML_ReportGen::ReportGenOCX::RepModes&)", "void");
        row("GenerateOutput(KRML_ReportGen::DrawingSurface&)", "QString");
        row("AnalyseFunction(QString,KRML_ReportGen::Recordset&)", "QString");
        row("CreateBox()", "void");
        row("ShowWizard()", "void");
        row("ShowSQLEditor()", "void");
        row("PrintReport()", "void");
        row("LoadGrid()", "void");
        row("InsertExternalData()", "void");
        row("InsertDataField()", "void");
        row("InsertFormula()", "void");
        row("InsertPicture()", "void");
        row("InsertLabel()", "void");
        row("NewLayout()", "void");
        row("OpenLayout(QString)", "void");
        row("ShowOptions()", "void");
        row("SaveLayout()", "void");
        row("CheckForPrintOverlap(KRML_ReportGen::LayoutLabel,qint32&,qint32&)", "bool");
        row("ExportReport(QString,QString)", "QStringList");
    }

    void method()
    {
        QFETCH(QByteArray, signature);
        QFETCH(QString, returns);
        const QMetaObject &mo = ReportGenOCX::staticMetaObject;
        const int index = mo.indexOfMethod(QMetaObject::normalizedSignature(signature));
        QVERIFY2(index >= 0, signature);
        QCOMPARE(QString::fromLatin1(mo.method(index).typeName()), returns);
        QCOMPARE(mo.method(index).access(), QMetaMethod::Public);
    }

    void eventsInPublishedOrder()
    {
        QCOMPARE(ownNames(&ReportGenOCX::staticMetaObject, QMetaMethod::Signal), kPublishedEvents + kAddedEvents);
    }

    void event_data()
    {
        QTest::addColumn<QByteArray>("signature");
        QTest::newRow("ShowMe") << QByteArray("ShowMe()");
        QTest::newRow("MousePos") << QByteArray("MousePos(qint32&,qint32&)");
        QTest::newRow("ModeSwitch") << QByteArray("ModeSwitch(KRML_ReportGen::ReportGenOCX::RepModes&)");
        QTest::newRow("ProcessorSending") << QByteArray("ProcessorSending(KRML_ReportGen::ParameterCollection&)");
        QTest::newRow("ProcessorReceivedResults") << QByteArray("ProcessorReceivedResults(qint32&,QString&)");
    }

    void event()
    {
        QFETCH(QByteArray, signature);
        const int index = ReportGenOCX::staticMetaObject.indexOfSignal(QMetaObject::normalizedSignature(signature));
        QVERIFY2(index >= 0, signature);
        // A host connects to it by name.
        ReportGenOCX c;
        QVERIFY(QObject::connect(&c, QByteArray("2" + signature).constData(), &c, SLOT(update())));
    }

    void methodsRunByName()
    {
        ReportGenOCX c;
        c.setProperty("rdAppPath", m_dir.filePath(QStringLiteral("app")));
        auto connection = std::make_shared<DbConnection>(QStringLiteral("Provider=SQLite;Data Source=") + m_database);
        connection->open();
        QVERIFY(c.setProperty("RepDataConnection", QVariant::fromValue(connection)));
        QVERIFY(c.setProperty("CurrentMode", int(ReportGenOCX::DesignerMode)));
        c.resize(800, 600);
        QVERIFY(QObject::connect(&c, SIGNAL(ModeSwitch(KRML_ReportGen::ReportGenOCX::RepModes&)), this,
                                 SLOT(onModeSwitch(KRML_ReportGen::ReportGenOCX::RepModes&))));
        QVERIFY(QObject::connect(&c, SIGNAL(ProcessorSending(KRML_ReportGen::ParameterCollection&)), this,
                                 SLOT(onProcessorSending(KRML_ReportGen::ParameterCollection&))));

        // OpenLayout: the package's parameters reach the host.
        const QString package = QStringLiteral(KRML_SOURCE_DIR "/examples/sales-by-region.lrd");
        QVERIFY(QMetaObject::invokeMethod(&c, "OpenLayout", Qt::DirectConnection, Q_ARG(QString, package)));
        QCOMPARE(m_sentParameters, QStringList{QStringLiteral("Region")});
        QCOMPARE(c.property("curOpenFile").toString(), package);

        // GenerateOutput on the host's surface with the host's value for
        // the parameter, given by name through the published collections.
        auto fields = std::make_shared<VariantCollection>();
        fields->Add(QStringLiteral("Region"));
        auto values = std::make_shared<VariantCollection>();
        values->Add(QStringLiteral("2"));
        QVERIFY(c.setProperty("ParamFieldCollection", QVariant::fromValue(fields)));
        QVERIFY(c.setProperty("ParamValueCollection", QVariant::fromValue(values)));
        HostSurface surface;
        QString result = QStringLiteral("unset");
        QVERIFY(QMetaObject::invokeMethod(&c, "GenerateOutput", Qt::DirectConnection, Q_RETURN_ARG(QString, result),
                                          Q_ARG(KRML_ReportGen::DrawingSurface &, surface)));
        QCOMPARE(result, QString());
        QVERIFY2(surface.texts().contains(QStringLiteral("Sales by Region")), qPrintable(surface.texts().join('|')));
        QVERIFY2(surface.texts().contains(QStringLiteral("South")), qPrintable(surface.texts().join(QLatin1Char('|'))));
        QVERIFY(surface.texts().contains(QStringLiteral("Marco Rossi")));
        QCOMPARE(surface.pictures, 1);

        // CheckForPrintOverlap: a text inside the order list moves below it;
        // one below every list stays.
        LayoutLabel inList;
        inList.Left = 850;
        inList.Top = 3000;
        qint32 left = 0, top = 0;
        bool moved = false;
        QVERIFY(QMetaObject::invokeMethod(&c, "CheckForPrintOverlap", Qt::DirectConnection, Q_RETURN_ARG(bool, moved),
                                          Q_ARG(KRML_ReportGen::LayoutLabel, inList), Q_ARG(qint32 &, left),
                                          Q_ARG(qint32 &, top)));
        QVERIFY(moved);
        QCOMPARE(left, 850);
        QVERIFY(top > 3000);
        LayoutLabel below = inList;
        below.Top = 60000; // the region's orders run over several pages
        QVERIFY(QMetaObject::invokeMethod(&c, "CheckForPrintOverlap", Qt::DirectConnection, Q_RETURN_ARG(bool, moved),
                                          Q_ARG(KRML_ReportGen::LayoutLabel, below), Q_ARG(qint32 &, left),
                                          Q_ARG(qint32 &, top)));
        QVERIFY(!moved);
        QCOMPARE(top, 60000);

        // AnalyseFunction on a recordset of the host's.
        auto rs = connection->openRecordset(QStringLiteral("SELECT 7 AS x"));
        QVERIFY(QMetaObject::invokeMethod(&c, "AnalyseFunction", Qt::DirectConnection, Q_RETURN_ARG(QString, result),
                                          Q_ARG(QString, QStringLiteral("{Any.x}/2")), Q_ARG(KRML_ReportGen::Recordset &, *rs)));
        QCOMPARE(result, QStringLiteral("3.5"));

        // The mode methods raise ModeSwitch; a handler connected by name
        // changes FlipMode's argument by reference.
        m_modes.clear();
        QVERIFY(QMetaObject::invokeMethod(&c, "ShowPreview", Qt::DirectConnection));
        QVERIFY(c.pageWidget()->isHidden());
        QVERIFY(QMetaObject::invokeMethod(&c, "ShowDesign", Qt::DirectConnection));
        QVERIFY(!c.pageWidget()->isHidden());
        m_replaceMode = ReportGenOCX::Designer;
        RepModes mode = ReportGenOCX::Printing;
        QVERIFY(QMetaObject::invokeMethod(&c, "FlipMode", Qt::DirectConnection,
                                          Q_ARG(KRML_ReportGen::ReportGenOCX::RepModes &, mode)));
        m_replaceMode.reset();
        QCOMPARE(mode, ReportGenOCX::Designer);
        QCOMPARE(m_modes, (QList<RepModes>{ReportGenOCX::Preview, ReportGenOCX::Designer, ReportGenOCX::Printing}));

        // PrintReport on the printer the host chose: a PDF file.
        const QString pdf = m_dir.filePath(QStringLiteral("printed.pdf"));
        c.printer()->setOutputFormat(QPrinter::PdfFormat);
        c.printer()->setOutputFileName(pdf);
        QVERIFY(QMetaObject::invokeMethod(&c, "PrintReport", Qt::DirectConnection));
        QVERIFY(QFileInfo(pdf).size() > 1000);

        QVERIFY(QMetaObject::invokeMethod(&c, "Reload", Qt::DirectConnection, Q_ARG(bool, false)));
        QVERIFY(QMetaObject::invokeMethod(&c, "Reload", Qt::DirectConnection));
        QVERIFY(QMetaObject::invokeMethod(&c, "LoadGrid", Qt::DirectConnection));

        // InsertLabel adds a fixed text the next output prints.
        QVERIFY(QMetaObject::invokeMethod(&c, "InsertLabel", Qt::DirectConnection));
        QVERIFY(QMetaObject::invokeMethod(&c, "GenerateOutput", Qt::DirectConnection, Q_RETURN_ARG(QString, result),
                                          Q_ARG(KRML_ReportGen::DrawingSurface &, surface)));
        QVERIFY(surface.texts().contains(QStringLiteral("Label1")));

        // SaveLayout asks where (answered here), NewLayout empties the page,
        // OpenLayout brings the saved one back with the new label.
        ModalAnswerer answerer(this);
        const QString saved = m_dir.filePath(QStringLiteral("saved.lrd"));
        answerer.saveAs = saved;
        QVERIFY(QMetaObject::invokeMethod(&c, "SaveLayout", Qt::DirectConnection));
        QVERIFY(QFileInfo::exists(saved));
        answerer.saveAs.clear();
        QVERIFY(QMetaObject::invokeMethod(&c, "NewLayout", Qt::DirectConnection));
        HostSurface empty;
        QVERIFY(QMetaObject::invokeMethod(&c, "GenerateOutput", Qt::DirectConnection, Q_RETURN_ARG(QString, result),
                                          Q_ARG(KRML_ReportGen::DrawingSurface &, empty)));
        QVERIFY(empty.texts().isEmpty());
        QVERIFY(QMetaObject::invokeMethod(&c, "OpenLayout", Qt::DirectConnection, Q_ARG(QString, saved)));
        HostSurface reopened;
        QVERIFY(QMetaObject::invokeMethod(&c, "GenerateOutput", Qt::DirectConnection, Q_RETURN_ARG(QString, result),
                                          Q_ARG(KRML_ReportGen::DrawingSurface &, reopened)));
        QVERIFY(reopened.texts().contains(QStringLiteral("Label1")));
        QVERIFY(reopened.texts().contains(QStringLiteral("South")));
    }

    void windowMethodsRunByName_data()
    {
        QTest::addColumn<bool>("reportsFailure");
        QTest::addColumn<bool>("showsWindow");
        QTest::newRow("CreateBox") << false << true;
        QTest::newRow("ShowWizard") << false << true;
        QTest::newRow("ShowSQLEditor") << false << true;
        // The database of the options (none here) must open.
        QTest::newRow("InsertExternalData") << true << true;
        // Without a field chosen in the palette nothing is inserted.
        QTest::newRow("InsertDataField") << false << false;
        QTest::newRow("InsertFormula") << false << true;
        // An empty picture box at the top left.
        QTest::newRow("InsertPicture") << false << false;
        QTest::newRow("ShowOptions") << false << true;
    }

    void windowMethodsRunByName()
    {
        QFETCH(bool, reportsFailure);
        QFETCH(bool, showsWindow);
        const QByteArray name = QTest::currentDataTag();
        ReportGenOCX c;
        c.setProperty("rdAppPath", m_dir.filePath(QStringLiteral("app")));
        auto connection = std::make_shared<DbConnection>(QStringLiteral("Provider=SQLite;Data Source=") + m_database);
        connection->open();
        c.setRepDataConnection(connection);
        c.setCurrentMode(ReportGenOCX::DesignerMode);
        c.show();
        ModalAnswerer answerer(this);
        bool failed = false;
        try {
            QVERIFY(QMetaObject::invokeMethod(&c, name.constData(), Qt::DirectConnection));
        } catch (const ReportError &e) {
            failed = true;
            QVERIFY(!e.description().isEmpty());
        }
        QCOMPARE(failed, reportsFailure);
        QCOMPARE(!answerer.seen.isEmpty(), showsWindow);
    }

private:
    QTemporaryDir m_dir;
    QString m_database;
    QList<RepModes> m_modes;
    std::optional<RepModes> m_replaceMode;
    QStringList m_sentParameters;
};

QTEST_MAIN(tst_PublishedInterface)
#include "tst_publishedinterface.moc"

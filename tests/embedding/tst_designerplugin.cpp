// The Qt Designer plugin as Designer loads it, and a form made with it
// (ReportForm.ui, compiled by uic) as a host builds it.

#include "ui_ReportForm.h"

#include <KRMLReportGen/ReportGenOCX.h>

#include <QIcon>
#include <QJsonObject>
#include <QPluginLoader>
#include <QStandardPaths>
#include <QTest>
#include <QXmlStreamReader>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#include <memory>

using namespace KRML_ReportGen;

class tst_DesignerPlugin : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
    }

    void pluginLoads()
    {
        QPluginLoader loader(QStringLiteral(DESIGNER_PLUGIN));
        QVERIFY2(loader.load(), qPrintable(loader.errorString()));
        QCOMPARE(loader.metaData().value(QStringLiteral("IID")).toString(),
                 QStringLiteral("org.qt-project.Qt.QDesignerCustomWidgetInterface"));
        auto *widget = qobject_cast<QDesignerCustomWidgetInterface *>(loader.instance());
        QVERIFY(widget);

        QCOMPARE(widget->name(), QStringLiteral("KRML_ReportGen::ReportGenOCX"));
        QCOMPARE(widget->group(), QStringLiteral("KRML ReportGen"));
        QCOMPARE(widget->includeFile(), QStringLiteral("KRMLReportGen/ReportGenOCX.h"));
        QVERIFY(!widget->isContainer());
        QVERIFY(!widget->toolTip().isEmpty());
        QVERIFY(!widget->whatsThis().isEmpty());
        QVERIFY(!widget->icon().isNull());
        QVERIFY(!widget->icon().pixmap(32, 32).isNull());
        QVERIFY(!widget->isInitialized());
        widget->initialize(nullptr);
        QVERIFY(widget->isInitialized());
    }

    void domXmlPlacesTheControl()
    {
        QPluginLoader loader(QStringLiteral(DESIGNER_PLUGIN));
        auto *widget = qobject_cast<QDesignerCustomWidgetInterface *>(loader.instance());
        QVERIFY(widget);
        QXmlStreamReader xml(widget->domXml());
        QString widgetClass, widgetName, header, headerLocation, customClass;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == QLatin1String("widget")) {
                widgetClass = xml.attributes().value(QLatin1String("class")).toString();
                widgetName = xml.attributes().value(QLatin1String("name")).toString();
            } else if (xml.name() == QLatin1String("class")) {
                customClass = xml.readElementText();
            } else if (xml.name() == QLatin1String("header")) {
                headerLocation = xml.attributes().value(QLatin1String("location")).toString();
                header = xml.readElementText();
            }
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(widgetClass, widget->name());
        QCOMPARE(widgetName, QStringLiteral("reportGen"));
        QCOMPARE(customClass, widget->name());
        QCOMPARE(header, widget->includeFile());
        QCOMPARE(headerLocation, QStringLiteral("global"));
    }

    void pluginMakesTheControl()
    {
        QPluginLoader loader(QStringLiteral(DESIGNER_PLUGIN));
        auto *widget = qobject_cast<QDesignerCustomWidgetInterface *>(loader.instance());
        QVERIFY(widget);
        QWidget form;
        QWidget *made = widget->createWidget(&form);
        QVERIFY(made);
        QCOMPARE(made->parentWidget(), &form);
        QCOMPARE(QByteArray(made->metaObject()->className()), QByteArray("KRML_ReportGen::ReportGenOCX"));
        // The same class as the host's: the plugin and the host share the library.
        auto *control = qobject_cast<ReportGenOCX *>(made);
        QVERIFY(control);
        // A control placed anew shows its icon; Designer's property editor
        // lists the published properties.
        QCOMPARE(made->property("CurrentMode").toInt(), 1);
        QCOMPARE(made->size(), QSize(64, 64));
        for (const char *name : {"GridSize", "DBPath", "CurrentMode", "PageWidth", "Pageheight", "OCXVersion", "rdAppName"}) {
            const int index = made->metaObject()->indexOfProperty(name);
            QVERIFY2(index >= 0, name);
            QVERIFY2(made->metaObject()->property(index).isDesignable(), name);
        }
    }

    void formPlacesTheControl()
    {
        QWidget host;
        Ui::ReportForm form;
        form.setupUi(&host);
        QVERIFY(form.reportGen);
        QCOMPARE(form.reportGen->parentWidget(), &host);
        QCOMPARE(form.reportGen->CurrentMode(), ReportGenOCX::DesignerMode);
        QCOMPARE(form.reportGen->DBPath(), QStringLiteral("/data/sales.mdb"));
        QCOMPARE(form.reportGen->GridSize(), short(5));
    }
};

QTEST_MAIN(tst_DesignerPlugin)
#include "tst_designerplugin.moc"

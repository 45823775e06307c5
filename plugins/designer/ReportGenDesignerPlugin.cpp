#include "ReportGenDesignerPlugin.h"

#include <KRMLReportGen/ReportGenOCX.h>

#include <QIcon>

namespace KRML_ReportGen {

ReportGenDesignerPlugin::ReportGenDesignerPlugin(QObject *parent) : QObject(parent)
{
}

QString ReportGenDesignerPlugin::name() const
{
    // The full name: uic writes it into the form's code as it stands.
    return QStringLiteral("KRML_ReportGen::ReportGenOCX");
}

QString ReportGenDesignerPlugin::group() const
{
    return QStringLiteral("KRML ReportGen");
}

QString ReportGenDesignerPlugin::toolTip() const
{
    return QStringLiteral("Report designer and generator");
}

QString ReportGenDesignerPlugin::whatsThis() const
{
    return QStringLiteral("The KRML ReportGen control: designs report layouts on the host's database and previews or "
                          "prints them. It starts as its icon (ComponentMode); set CurrentMode to DesignerMode for "
                          "the designer.");
}

QString ReportGenDesignerPlugin::includeFile() const
{
    return QStringLiteral("KRMLReportGen/ReportGenOCX.h");
}

QIcon ReportGenDesignerPlugin::icon() const
{
    return QIcon(QStringLiteral(":/krml/designer/krml-reportdesigner.svg"));
}

bool ReportGenDesignerPlugin::isContainer() const
{
    return false;
}

QWidget *ReportGenDesignerPlugin::createWidget(QWidget *parent)
{
    return new ReportGenOCX(parent);
}

bool ReportGenDesignerPlugin::isInitialized() const
{
    return m_initialized;
}

void ReportGenDesignerPlugin::initialize(QDesignerFormEditorInterface *)
{
    m_initialized = true;
}

QString ReportGenDesignerPlugin::domXml() const
{
    // A new control on a form is named reportGen; the header is included
    // with angle brackets, as the installed package is found.
    return QStringLiteral(R"(<ui language="c++">
  <widget class="KRML_ReportGen::ReportGenOCX" name="reportGen"/>
  <customwidgets>
    <customwidget>
      <class>KRML_ReportGen::ReportGenOCX</class>
      <extends>QWidget</extends>
      <header location="global">KRMLReportGen/ReportGenOCX.h</header>
    </customwidget>
  </customwidgets>
</ui>
)");
}

} // namespace KRML_ReportGen

// The standalone designer as a user works with it, on the offscreen
// platform: the real window on the example reports and their database.

#include "DesignerCommands.h"
#include "DesignerConnection.h"
#include "DesignerDocument.h"
#include "DesignerEditActions.h"
#include "DesignerView.h"
#include "DesignerWindow.h"
#include "LayoutPage.h"
#include "LocalFileService.h"
#include "MemorySettingsStore.h"
#include "ModuleState.h"
#include "ObjectListPanel.h"
#include "PreviewWindow.h"
#include "PreviewPageWidget.h"
#include "ProcessTempNames.h"
#include "PropertyInspector.h"
#include "ReportGenOCX.h"
#include "ScriptedPrompts.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace KRML_ReportGen;

class TestDesignerApp : public QObject
{
    Q_OBJECT

    QTemporaryDir m_examples;
    QTemporaryDir m_app;
    std::shared_ptr<ScriptedPrompts> m_prompts;
    std::shared_ptr<MemorySettingsStore> m_settings;

    QString example(const QString &name) const { return m_examples.filePath(name); }
    QString output(const QString &name) const { return QDir(QStringLiteral(KRML_BINARY_DIR)).filePath(name); }

    std::unique_ptr<DesignerWindow> window()
    {
        ControlServices services{m_settings, m_prompts, std::make_shared<LocalFileService>(), std::make_shared<ProcessTempNames>()};
        auto w = std::make_unique<DesignerWindow>(services);
        w->resize(1280, 860);
        w->show();
        return w;
    }

private slots:
    void initTestCase()
    {
        // Screens look the same on every machine: one style, one font, the bundled icons.
        QApplication::setStyle(QStringLiteral("Fusion"));
        QApplication::setFont(QFont(QStringLiteral("Liberation Sans"), 9));
        QIcon::setThemeName(QStringLiteral("krml-test-no-theme"));
        QProcess make;
        make.start(QStringLiteral(MAKEEXAMPLES), {m_examples.path()});
        QVERIFY(make.waitForFinished(60000));
        QVERIFY2(make.exitCode() == 0, make.readAllStandardError().constData());
    }

    void init()
    {
        ModuleState::current().reset();
        ModuleState::current().rdAppPath = m_app.path();
        m_prompts = std::make_shared<ScriptedPrompts>();
        m_settings = std::make_shared<MemorySettingsStore>();
    }

    void screenshots()
    {
        auto w = window();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        w->start(QString(), example(QStringLiteral("customers.lrd")));
        QCoreApplication::processEvents();
        w->control()->designer().commands().selection().set({{ObjectRef::Label, 7}});
        QTest::qWait(50);
        QVERIFY(w->grab().toImage().save(output(QStringLiteral("designer-window.png"))));
        w->showPreview();
        QTest::qWait(50);
        QVERIFY(w->preview().grab().toImage().save(output(QStringLiteral("preview-window.png"))));
        w->preview().pageWidget()->grab().toImage().save(output(QStringLiteral("dbg-page.png")));
        for (int width : {96, 300, 490, 900})
            PreviewPageWidget::render(w->preview().page(1), 11907, 16839.9, width).save(output(QStringLiteral("dbg-%1.png").arg(width)));
    }
};

QTEST_MAIN(TestDesignerApp)
#include "tst_designerapp.moc"

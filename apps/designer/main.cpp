// The standalone report designer. With a display it opens the designer
// window; without one (or with --state) it prints the version and the state
// of a freshly created control.

#include "DesignerWindow.h"
#include "HeadlessEnvironment.h"
#include "ModuleState.h"
#include "ReportError.h"
#include "ReportGenOCX.h"
#include "UserDataFolder.h"

#include <QApplication>
#include <QTextStream>
#include <cstdio>
#include <cstdlib>

using namespace KRML_ReportGen;

static bool haveDisplay()
{
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

static int printState()
{
    QTextStream out(stdout);
    ModuleState &state = ModuleState::current();
    if (state.rdAppPath.isEmpty())
        state.rdAppPath = UserDataFolder::path();
    ReportGenOCX control;
    out << "KRML ReportGen " << control.OCXVersion() << "\n";
    out << "Application name: " << control.rdAppName() << "\n";
    out << "Mode: " << (control.CurrentMode() == ReportGenOCX::ComponentMode ? "ComponentMode (1)" : "DesignerMode (2)") << "\n";
    out << "Page size: " << control.PageWidth() << " x " << control.Pageheight() << " twips\n";
    out << "Grid size: " << control.GridSize() << " mm\n";
    const QStringList statements = control.statementList();
    out << "Statements: " << (statements.isEmpty() ? QStringLiteral("(none)") : statements.join(QStringLiteral(", "))) << "\n";
    out << "Working folder: " << state.rdAppPath << "\n";
    return 0;
}

int main(int argc, char **argv)
{
    bool stateOnly = false;
    for (int i = 1; i < argc; ++i)
        if (QByteArray(argv[i]) == "--state")
            stateOnly = true;
    if (stateOnly || !haveDisplay())
        HeadlessEnvironment::prepare();

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Report Designer"));
    try {
        if (stateOnly || !haveDisplay())
            return printState();
        DesignerWindow window;
        window.show();
        return app.exec();
    } catch (const ReportError &e) {
        std::fprintf(stderr, "reportdesigner: error %d: %s\n", e.number(), qPrintable(e.description()));
        return 1;
    }
}

// The standalone report designer.
//
//   reportdesigner [PACKAGE.lrd] [--connection STRING] [/developmentmode]
//   reportdesigner --state | --help | --version
//
// With a display it opens the designer window (on the package, connected
// with the string when given); without one (or with --state) it prints the
// version and the state of a freshly created control.

#include "DesignerWindow.h"
#include "HeadlessEnvironment.h"
#include "KRMLReportGenVersion.h"
#include "PasswordMask.h"
#include "ModuleState.h"
#include "ReportError.h"
#include "ReportGenOCX.h"
#include "UserDataFolder.h"

#include <QApplication>
#include <QCommandLineParser>
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
    if (state.rdAppPath().isEmpty())
        state.setRdAppPath(UserDataFolder::path());
    ReportGenOCX control;
    out << "KRML ReportGen " << control.OCXVersion() << "\n";
    out << "Application name: " << control.rdAppName() << "\n";
    out << "Mode: " << (control.CurrentMode() == ReportGenOCX::ComponentMode ? "ComponentMode (1)" : "DesignerMode (2)") << "\n";
    out << "Page size: " << control.PageWidth() << " x " << control.Pageheight() << " twips\n";
    out << "Grid size: " << control.GridSize() << " mm\n";
    const QStringList statements = control.statementList();
    out << "Statements: " << (statements.isEmpty() ? QStringLiteral("(none)") : statements.join(QStringLiteral(", "))) << "\n";
    out << "Working folder: " << state.rdAppPath() << "\n";
    return 0;
}

int main(int argc, char **argv)
{
    // The answers that need no window are given without a display too.
    bool headless = !haveDisplay();
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--state" || arg == "--help" || arg == "-h" || arg == "--help-all" || arg == "--version" || arg == "-v")
            headless = true;
    }
    if (headless)
        HeadlessEnvironment::prepare();

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Report Designer"));
    QApplication::setApplicationVersion(QStringLiteral("%1.%2.%3")
                                            .arg(KRML_REPORTGEN_VERSION_MAJOR)
                                            .arg(KRML_REPORTGEN_VERSION_MINOR)
                                            .arg(KRML_REPORTGEN_VERSION_REVISION));
    QApplication::setDesktopFileName(QStringLiteral("krml-reportdesigner"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Designs KRML ReportGen report layouts (.lrd)."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption connection(QStringLiteral("connection"), QStringLiteral("The database to connect to (a connection string)."),
                                        QStringLiteral("string"));
    const QCommandLineOption state(QStringLiteral("state"), QStringLiteral("Print the state of a new control and end."));
    parser.addOptions({connection, state});
    parser.addPositionalArgument(QStringLiteral("package"), QStringLiteral("The layout package (.lrd) to open."), QStringLiteral("[package]"));
    parser.addPositionalArgument(QStringLiteral("/developmentmode"),
                                 QStringLiteral("Report the errors that are otherwise passed over."), QStringLiteral("[/developmentmode]"));
    parser.process(app);
    // "/developmentmode" is the control's own switch, read by the window.
    QStringList packages = parser.positionalArguments();
    packages.removeAll(QStringLiteral("/developmentmode"));
    if (packages.size() > 1) {
        std::fprintf(stderr, "reportdesigner: one package at a time, please\n%s", qPrintable(parser.helpText()));
        return 1;
    }
    try {
        if (parser.isSet(state) || !haveDisplay())
            return printState();
        DesignerWindow window;
        window.show();
        window.start(parser.value(connection), packages.isEmpty() ? QString() : packages.first());
        return app.exec();
    } catch (const ReportError &e) {
        std::fprintf(stderr, "reportdesigner: error %d: %s\n", e.number(), qPrintable(PasswordMask::hide(e.description())));
        return 1;
    }
}

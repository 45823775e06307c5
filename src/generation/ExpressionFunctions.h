#pragma once

#include <QList>
#include <QString>
#include <QVariant>

namespace KRML_ReportGen {

// The functions of the formula language: their names, how many arguments
// they take, a one-line signature for the formula editor, and the work of
// the scalar ones. Aggregates (Sum, Avg, Count, Min, Max, RunningSum,
// PageSum) run over rows, which the expression itself does.
class ExpressionFunctions
{
public:
    enum Id {
        Round, Percent, AddTax, MinusTax, Now, DateTimeFormat, Format,
        Abs, Int, Fix, Len, Left, Right, Mid, UCase, LCase, Trim,
        Year, Month, Day, DateAdd, DateDiff, IIf, IsNull, Nz,
        Sum, Avg, Count, Min, Max, RunningSum, PageSum,
    };

    struct Function
    {
        Id id;
        const char *name;
        int minArgs;
        int maxArgs;
        bool aggregate;
        const char *signature;
    };

    static const QList<Function> &all();
    // The index in all() of a name (any letter case), or -1.
    static int find(const QString &name);

    // Settings a scalar function reads beyond its arguments.
    struct Settings
    {
        QVariant taxRate; // Report.TaxRate, in percent; none when null
        QString locale;   // Report.Locale; the system's when empty
    };

    // A scalar function on its worked-out arguments (IIf excepted: the
    // expression picks its branch). Errors are ReportErrors without a
    // position.
    static QVariant call(Id id, const QList<QVariant> &args, const Settings &settings);
};

} // namespace KRML_ReportGen

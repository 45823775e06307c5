// The expression language: tokenizer, parser, binding and evaluation over
// two small statements, and the formats the result may be shown in. The
// input's first line is the formula, a second line (if any) a Format
// pattern.
#include "Expression.h"
#include "ExpressionError.h"
#include "ReportError.h"
#include "RowsExpressionScope.h"
#include "ValueFormat.h"

#include <QDateTime>

using namespace KRML_ReportGen;

namespace {

void fill(RowsExpressionScope &scope)
{
    MemoryRecordset orders({QStringLiteral("Amount"), QStringLiteral("Qty"), QStringLiteral("Name"), QStringLiteral("When"),
                            QStringLiteral("Note")},
                           {6, 3, 202, 7, 202});
    orders.appendRow({150.0, 4, QStringLiteral("Ann"), QDate(2024, 3, 15), QVariant()});
    orders.appendRow({0.0, 0, QStringLiteral("{O.Name}/"), QDateTime(QDate(1899, 12, 30), QTime(23, 59)), QStringLiteral("x")});
    orders.appendRow({QVariant(), -3, QString(), QVariant(), QStringLiteral("1e308")});
    MemoryRecordset empty({QStringLiteral("Id")}, {3});
    scope.addStatement(QStringLiteral("Orders"), orders);
    scope.addStatement(QStringLiteral("Empty"), empty);
    ExpressionFunctions::Settings settings;
    settings.taxRate = 19.0;
    settings.locale = QStringLiteral("de_DE");
    scope.setSettings(settings);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString input = QString::fromUtf8(reinterpret_cast<const char *>(data), int(size));
    const qsizetype newline = input.indexOf(QLatin1Char('\n'));
    QString formula = newline < 0 ? input : input.left(newline);
    const QString pattern = newline < 0 ? QString() : input.mid(newline + 1);
    if (!Expression::isExpression(formula))
        formula.prepend(QLatin1Char('='));
    const QLocale locale = ValueFormat::localeOf(QStringLiteral("de_DE"));
    try {
        Expression e(formula);
        RowsExpressionScope scope;
        fill(scope);
        e.bind(scope);
        for (int row = 0; row < 3; ++row) {
            if (!e.printsOnce())
                scope.standOn(e.rowStatement(), row);
            scope.setPageRows(row, row + 1);
            try {
                (void)ValueFormat::forLabel(e.evaluate(scope), pattern, QStringLiteral("-"), locale);
            } catch (const ExpressionError &error) {
                (void)error.forLabel(1, formula);
            }
        }
    } catch (const ExpressionError &error) {
        (void)error.position();
    }
    // The pattern on values of every kind.
    for (const QVariant &v : {QVariant(1234.5), QVariant(true), QVariant(QDate(2024, 2, 29)), QVariant(QStringLiteral("abc"))})
        (void)ValueFormat::format(v, pattern, locale);
    return 0;
}

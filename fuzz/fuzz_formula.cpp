// The formula evaluator on a small recordset.
#include "FormulaEvaluator.h"
#include "LegacyNumber.h"
#include "MemoryRecordset.h"
#include "ReportError.h"

using namespace KRML_ReportGen;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static MemoryRecordset prototype = [] {
        MemoryRecordset rs({QStringLiteral("Total"), QStringLiteral("Count"), QStringLiteral("Name"), QStringLiteral("Empty")},
                           {6, 3, 202, 202});
        rs.appendRow({150.0, 4, QStringLiteral("Ann"), QVariant()});
        rs.appendRow({0.0, 0, QStringLiteral("{O.Name}/"), QVariant()});
        return rs;
    }();
    MemoryRecordset rs = prototype;
    const QString formula = QString::fromUtf8(reinterpret_cast<const char *>(data), int(size));
    try {
        (void)FormulaEvaluator::AnalyseFunction(formula, rs);
    } catch (const ReportError &) {
    }
    rs.moveNext();
    try {
        (void)FormulaEvaluator::evaluateCurrentRow(formula, rs);
    } catch (const ReportError &) {
    }
    (void)LegacyNumber::leadingValue(formula);
    (void)LegacyNumber::convert(formula);
    return 0;
}

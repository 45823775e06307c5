#include "OptionsModel.h"

#include "LegacyNumber.h"
#include "MsgBoxStyle.h"
#include "UserPrompts.h"
#include "VbConvert.h"

namespace KRML_ReportGen {

OptionsModel::Texts OptionsModel::textsOf(const Values &v)
{
    return {QString::number(v.gridSize), QString::number(VbConvert::roundHalfEven(v.pageHeight * 10 / 567)),
            QString::number(VbConvert::roundHalfEven(v.pageWidth * 10 / 567)), v.dbPath};
}

std::optional<OptionsModel::Values> OptionsModel::ok(const Texts &t, UserPrompts &prompts, Field *focus)
{
    const struct
    {
        const QString &text;
        QString message;
        Field field;
    } checks[] = {{t.gridSize, gridMessage(), GridSize}, {t.pageHeight, heightMessage(), PageHeight},
                  {t.pageWidth, widthMessage(), PageWidth}};
    for (const auto &c : checks) {
        if (!LegacyNumber::isNumber(c.text)) {
            prompts.msgBox(c.message, MsgBoxStyle::Exclamation);
            if (focus)
                *focus = c.field;
            return std::nullopt;
        }
    }
    Values v;
    v.gridSize = VbConvert::toInt16(t.gridSize);
    // The page's properties keep whole twips.
    v.pageHeight = VbConvert::roundHalfEven(VbConvert::toDouble(t.pageHeight) * 567 / 10);
    v.pageWidth = VbConvert::roundHalfEven(VbConvert::toDouble(t.pageWidth) * 567 / 10);
    v.dbPath = t.dbPath;
    return v;
}

} // namespace KRML_ReportGen

#pragma once

#include <QString>
#include <optional>

namespace KRML_ReportGen {

// Lengths as the inspector shows and takes them: millimetres with the twips
// beside ("25 mm (1417.5 tw)"); typed as a number of millimetres or with a
// unit: "mm", "cm", "in", "pt", "tw" or "twips".
class LengthText
{
public:
    static constexpr double TwipsPerMm = 56.7;

    static QString format(double twips);
    static QString millimetres(double twips);
    static QString twips(double twips);
    // Twips, or nothing for text that is not a length.
    static std::optional<double> parse(const QString &text);
};

} // namespace KRML_ReportGen

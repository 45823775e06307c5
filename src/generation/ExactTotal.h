#pragma once

#include <QtGlobal>

namespace KRML_ReportGen {

// A total kept as the legacy Currency type keeps one: while every number
// added has at most four decimals (amounts of money, quantities, counts)
// the total is held in ten-thousandths and is exact, so that a sum over
// thousands of amounts prints to the cent whatever engine gave them and
// in whatever order. A number with more decimals, or a total past what
// ten-thousandths hold exactly, carries on as a double.
class ExactTotal
{
public:
    void add(double value);
    double value() const;

private:
    qint64 m_tenThousandths = 0;
    double m_double = 0;
    bool m_exact = true;
};

} // namespace KRML_ReportGen

#include "ExactTotal.h"

#include <cmath>

namespace KRML_ReportGen {

namespace {
// Ten-thousandths are held exactly in a double up to 2^53.
constexpr double kLargest = 9007199254740992.0 / 10000.0;
} // namespace

void ExactTotal::add(double value)
{
    m_double += value;
    if (!m_exact)
        return;
    // A number of four decimals or fewer is the double nearest to its
    // ten-thousandths over 10000: 32.38 is 323800 / 10000.
    if (!std::isfinite(value) || std::abs(value) >= kLargest) {
        m_exact = false;
        return;
    }
    const qint64 scaled = std::llround(value * 10000.0);
    if (double(scaled) / 10000.0 != value || std::abs(double(m_tenThousandths + scaled)) >= kLargest * 10000.0) {
        m_exact = false;
        return;
    }
    m_tenThousandths += scaled;
}

double ExactTotal::value() const
{
    return m_exact ? double(m_tenThousandths) / 10000.0 : m_double;
}

} // namespace KRML_ReportGen

#pragma once

#include <QDir>
#include <QString>

namespace KRML_ReportGen {

// Where the third-party test files lie: ../shared/testdata beside the
// checkout. A user's clone may not have them; tests then skip.
class TestData
{
public:
    static QString folder() { return QDir::cleanPath(QStringLiteral(KRML_SOURCE_DIR "/../shared/testdata")); }
    static QString path(const QString &relative) { return folder() + QLatin1Char('/') + relative; }
    static bool available() { return QDir(folder()).exists(); }
};

// Skips the current test when the shared test data is missing.
#define KRML_REQUIRE_TESTDATA()                                                                                    \
    do {                                                                                                           \
        if (!KRML_ReportGen::TestData::available())                                                                \
            QSKIP(qPrintable(QStringLiteral("third-party test data not found at %1").arg(KRML_ReportGen::TestData::folder()))); \
    } while (0)

} // namespace KRML_ReportGen

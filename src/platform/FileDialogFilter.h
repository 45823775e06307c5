#pragma once

#include <QString>
#include <QStringList>

namespace KRML_ReportGen {

// The system writes file-dialog filters as "desc|pattern|desc|pattern";
// these helpers split them into entries a dialog can show.
class FileDialogFilter
{
public:
    struct Entry
    {
        QString description;
        QString patterns; // ";"-separated, as written
    };
    static QList<Entry> parse(const QString &filter);
    // "desc (*.a *.b)" entries, one per filter, for QFileDialog.
    static QStringList toQtFilters(const QString &filter);
};

} // namespace KRML_ReportGen

#pragma once

#include "BoundStatement.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>
#include <memory>

namespace KRML_ReportGen {

class Recordset;
class SqlEditorDialogs;
class SqlEditorModel;

// The SQL editor's "Check SQL", "Preview" and "Export": the current
// statement tried with trial values, run with the user's values (one
// prompt per parameter) into the results grid, and the previewed rows
// written as comma-separated text.
class StatementTrial
{
public:
    static QString successMessage() { return QStringLiteral("SQL Executed Without Errors"); }
    static QString previewErrorPrefix() { return QStringLiteral("Error Previewing Results: "); }
    static QString exportDoneMessage() { return QStringLiteral("Export Completed Successfully"); }
    static QString exportFilter() { return QStringLiteral("All Files (*.*)|*.*|Comma Separated Values (*.csv)|*.csv"); }
    static QString nothingToExportMessage() { return QStringLiteral("There are no previewed results to export. Please preview the statement first."); }
    static constexpr int ProgressMaximum = 10000;

    StatementTrial(SqlEditorModel &model, SqlEditorDialogs &dialogs) : m_model(model), m_dialogs(dialogs) {}

    // "Check SQL": true when the statement ran.
    bool checkSql();
    // The statement with every marker bound to its trial value.
    BoundStatement trialStatement() const;

    // "Preview": false when a prompt was closed without "OK" (nothing runs)
    // or the statement failed (after the message).
    bool preview();
    std::shared_ptr<Recordset> results() const { return m_results; }
    QString recordCountText() const;

    // "Export": progress gets the bar's value (0 to 10000) and the
    // percentage label's text. False when nothing was written.
    bool exportResults(const std::function<void(int, const QString &)> &progress = {});
    // One row as a line of comma-separated values (RFC 4180 quoting, null
    // as nothing), without the line end.
    static QByteArray csvLine(const Recordset &rs);

private:
    // The SQL box's text with the parameters' values bound.
    BoundStatement bound(const QList<std::optional<BoundValue>> &values) const;

    SqlEditorModel &m_model;
    SqlEditorDialogs &m_dialogs;
    std::shared_ptr<Recordset> m_results;
};

} // namespace KRML_ReportGen

#include "ReportJob.h"

#include "ConnectionString.h"
#include "LayoutPackage.h"
#include "ModuleState.h"
#include "ParameterMarker.h"
#include "PasswordMask.h"
#include "ParameterValue.h"
#include "PathNames.h"
#include "ProgressLine.h"
#include "UserDataFolder.h"
#include "QueryLoader.h"
#include "ReportError.h"
#include "ReportExport.h"
#include "ReportGenerator.h"
#include "ReportSqlFile.h"
#include "WorkingConnectionFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <cstdio>
#include <unistd.h>

namespace KRML_ReportGen {

ReportJob::ReportJob()
{
    const QString data = UserDataFolder::path();
    if (!data.isEmpty())
        m_app = std::make_unique<QTemporaryDir>(QDir(data).filePath(QStringLiteral("run-XXXXXX")));
    if (!m_app || !m_app->isValid())
        m_app = std::make_unique<QTemporaryDir>(); // no data folder to be had: the system's temporary one
    ModuleState::current().setRdAppPath(m_app->path());
}

QString ReportJob::packageFailure(const LayoutPackage &package) const
{
    // The package's own reason (a damaged member, a package beyond its
    // limits) says more than the message a user of the control sees.
    const QString said = m_prompts.messages.join(QLatin1Char(' ')).simplified();
    return package.failure().isEmpty() ? said : QStringLiteral("%1 (%2)").arg(package.failure(), said);
}

ReportJob::Exit ReportJob::fail(Exit code, const QString &message)
{
    m_error = message;
    return code;
}

ReportJob::Exit ReportJob::open(const QString &packagePath)
{
    if (QFileInfo(packagePath).isDir())
        return fail(NoSuchFile, QStringLiteral("%1 is a directory, not a layout package").arg(packagePath));
    if (!QFileInfo(packagePath).isFile())
        return fail(NoSuchFile, QStringLiteral("no such file: %1").arg(packagePath));
    m_packagePath = QFileInfo(packagePath).absoluteFilePath();
    LayoutPackage package(m_files, m_tempNames, m_prompts, m_page);
    QString curOpenFile;
    m_prompts.messages.clear();
    const auto result = package.openLayout(m_packagePath, curOpenFile, [&] { package.clearLayout(); });
    if (result != LayoutPackage::Result::Done)
        return fail(BadPackage, QStringLiteral("%1 is not a valid layout package: %2").arg(packagePath, packageFailure(package)));
    return Ok;
}

ReportJob::Exit ReportJob::connect()
{
    QString text = connectionString;
    if (text.isEmpty()) {
        const QString stored = LayoutPackage::workingConnectionFile();
        if (m_files.fileExists(stored))
            text = WorkingConnectionFile::read(m_files, stored);
    }
    if (text.trimmed().isEmpty())
        return fail(ConnectionFailed, QStringLiteral("the package stores no connection; give one with --connection"));
    try {
        auto connection = ModuleState::current().data().RDDataConnection();
        StatementLimits limits = connection->limits();
        limits.timeoutSeconds = timeoutSeconds;
        connection->setLimits(limits);
        ModuleState::current().data().setRDDataConnectionString(text);
    } catch (const ReportError &e) {
        return fail(ConnectionFailed, QStringLiteral("cannot connect with \"%1\": error %2: %3")
                                          .arg(PasswordMask::hide(text))
                                          .arg(e.number())
                                          .arg(e.description()));
    }
    return Ok;
}

void ReportJob::handOverParameters()
{
    // As a host does: names in one collection, values in the other. A
    // lookup's value goes under its return field's name, the other types
    // under the parameter's name; both are accepted here.
    // A lookup's value may be one of its values or the text it shows for
    // one (Region=East); the query loader tells them apart.
    ModuleState &state = ModuleState::current();
    for (const auto &[name, value] : parameters) {
        QString key = name;
        bool known = false;
        for (int i = 1; i <= state.parameters()->Count(); ++i) {
            const clsParameter &p = state.parameters()->Item(i);
            const bool byName = p.ParameterName.compare(name, Qt::CaseInsensitive) == 0;
            if (p.ParamType == clsParameter::Lookup && byName)
                key = p.ReturnField;
            known = known || byName
                || (p.ParamType == clsParameter::Lookup && p.ReturnField.compare(name, Qt::CaseInsensitive) == 0);
        }
        if (!known) {
            if (notice)
                notice(QStringLiteral("warning: the report has no parameter \"%1\"; its value is not used").arg(name));
            continue;
        }
        state.ParamFieldCollection()->Add(key);
        state.ParamValueCollection()->Add(value);
    }
}

ReportJob::Exit ReportJob::render(const QString &outputPath)
{
    const QList<ReportExport::Format> formats = ReportExport::standardFormats();
    const ReportExport::Format *format =
        this->format.isEmpty() ? ReportExport::formatFor(formats, outputPath) : ReportExport::formatWithSuffix(formats, this->format);
    if (!format && this->format.isEmpty())
        return fail(Usage, QStringLiteral("the output must end in %1: %2").arg(ReportExport::suffixList(formats), outputPath));
    if (!format)
        return fail(Usage, QStringLiteral("--format takes one of %1: %2").arg(ReportExport::suffixList(formats), this->format));
    ModuleState &state = ModuleState::current();
    state.setParamFieldCollection(std::make_shared<VariantCollection>());
    state.setParamValueCollection(std::make_shared<VariantCollection>());
    handOverParameters();

    QueryLoader loader(m_files, m_prompts);
    loader.setNotice(notice);
    ReportGenerator generator(m_page, loader);
    generator.setPagination(paginate ? ReportGenerator::Pagination::On : ReportGenerator::Pagination::Off);
    if (page > 0)
        generator.setPageRange(page, page);
    // Several pages as images: one file per page, named OUT-1.png, OUT-2.png ...
    ReportExport::Options options;
    options.dotsPerInch = dotsPerInch;
    options.filePerPage = format->filePerPage && paginate && page == 0;
    options.firstPageNumber = page > 0 ? page : 1; // an SVG's title names the report's page
    options.pngCompression = pngCompression;
    options.documentName = QFileInfo(m_packagePath).completeBaseName();
    options.author = author;
    options.pdfA = pdfA;
    options.csvCodePage = csvCodePage;
    options.csvRaw = csvRaw;
    QElapsedTimer clock;
    clock.start();
    ProgressLine line(isatty(fileno(stderr)) != 0, [](const QByteArray &text) {
        std::fwrite(text.constData(), 1, size_t(text.size()), stderr);
        std::fflush(stderr);
    });
    if (progress) {
        // The objects as they are laid out, the pages as they are drawn,
        // the rows as a workbook's data sheets or CSV files are written.
        const auto counter = [&](const QString &counting) {
            return [&line, &clock, counting](int done, int total) { line.update(done, total, clock.elapsed(), counting); };
        };
        generator.setProgress(counter(QStringLiteral("objects")));
        generator.setPageProgress(counter(QStringLiteral("pages")));
        generator.setRowProgress(counter(QStringLiteral("rows")));
    }
    const auto endProgress = [&] { line.finish(); };
    QStringList written;
    try {
        written = format->write(generator, m_page, outputPath, options);
    } catch (const ReportError &e) {
        endProgress();
        for (const QString &f : written)
            QFile::remove(f);
        if (e.number() == ParameterValue::Missing)
            return fail(MissingParameter, e.description() + QStringLiteral(" Give it with --param NAME=VALUE."));
        if (ParameterValue::isParameterError(e))
            return fail(MissingParameter, e.description());
        return fail(ReportFailed, QStringLiteral("the report failed: error %1: %2").arg(e.number()).arg(e.description()));
    }
    endProgress();
    if (page > generator.pageCount()) {
        for (const QString &f : written)
            QFile::remove(f);
        return fail(Usage, QStringLiteral("the report has %1 page(s); there is no page %2").arg(generator.pageCount()).arg(page));
    }
    pagesWritten = generator.pageCount();
    // A report of one page keeps the name asked for.
    if (options.filePerPage && written.size() == 1 && written.first() != outputPath) {
        QFile::remove(outputPath);
        QFile::rename(written.first(), outputPath);
    }
    // A one-page report never loses rows silently.
    if (notice)
        for (const CutList &cut : generator.cutLists())
            notice(QStringLiteral("%1: %2 rows, %3 printed: use --paginate").arg(cut.statement).arg(cut.total).arg(cut.printed));
    return Ok;
}

ReportJob::Exit ReportJob::list(QTextStream &out)
{
    ReportDefinition definition;
    const QString sql = LayoutPackage::workingSqlFile();
    if (m_files.fileExists(sql)) {
        const auto read = ReportSqlFile::readFile(m_files, sql, definition);
        if (!read.ok())
            return fail(BadPackage, read.message);
    }
    out << "Page: " << m_page.Width() << " x " << m_page.Height() << " twips, " << m_page.labelCount() << " labels, "
        << m_page.picCount() << " pictures\n";
    out << "Parameters:" << (definition.parameters().isEmpty() ? " (none)" : "") << "\n";
    for (const auto &p : definition.parameters()) {
        out << "  " << p.marker;
        if (const auto *l = definition.lookup(p.keyNumber))
            out << "  shows " << l->displayField << ", gives " << l->returnField << " of: " << l->sql;
        out << "\n";
    }
    ModuleState &state = ModuleState::current();
    state.setParamFieldCollection(std::make_shared<VariantCollection>());
    state.setParamValueCollection(std::make_shared<VariantCollection>());
    handOverParameters();
    const bool connected = state.data().RDDataConnection()->state() == DbConnection::Open;
    QueryLoader loader(m_files, m_prompts);
    loader.setColumnsOnly(true);
    out << "Statements:" << (definition.statements().isEmpty() ? " (none)" : "") << "\n";
    for (const auto &s : definition.statements()) {
        out << "  " << s.name << "\n";
        for (const QString &line : s.sql.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
            out << "      " << line << "\n";
        if (!connected)
            continue;
        QStringList fields;
        state.setCurrentReportSQL(BoundStatement());
        try {
            // Each statement as the first list of a run would show it.
            loader.RunReportQuery(s.name, fields, true);
            if (fields.isEmpty() && !state.CurrentReportSQL().isEmpty())
                state.data().RDDataConnection()->describe(state.CurrentReportSQL()); // says why it did not run
            out << "    fields: " << (fields.isEmpty() ? QStringLiteral("(the statement did not run)") : fields.join(QStringLiteral(", ")))
                << "\n";
        } catch (const ReportError &e) {
            out << "    fields: (" << e.description() << ")\n";
        }
    }
    return Ok;
}

} // namespace KRML_ReportGen

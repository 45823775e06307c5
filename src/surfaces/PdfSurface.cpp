#include "PdfSurface.h"

#include "ReportError.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include "DurableFile.h"

namespace KRML_ReportGen {

PdfSurface::PdfSurface(QString fileName, double widthTwips, double heightTwips)
    : m_fileName(std::move(fileName)), m_width(widthTwips), m_height(heightTwips)
{
}

PdfSurface::~PdfSurface()
{
    // A document that was never ended is abandoned, not finished: the painter
    // still has to end so QPdfWriter releases the file.
    if (m_painter)
        m_painter->end();
}

void PdfSurface::Cls()
{
    resetState();
}

QPainter *PdfSurface::painter()
{
    if (m_painter)
        return m_painter.get();
    m_file = std::make_unique<DurableFile>(m_fileName);
    if (!m_file->open(QIODevice::WriteOnly))
        throw ReportError(m_file->errorNumber() ? m_file->errorNumber() : ReportError::PathFileAccessError,
                          QStringLiteral("The PDF file could not be written: '%1' (%2)").arg(m_fileName, m_file->errorText()));
    m_writer = std::make_unique<QPdfWriter>(m_file.get());
    m_writer->setCreator(QStringLiteral("KRML ReportGen"));
    // 1440 dots per inch: one device unit is one twip.
    m_writer->setResolution(1440);
    const QSizeF points(m_width / 20.0, m_height / 20.0);
    m_writer->setPageLayout(QPageLayout(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch),
                                        QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(m_writer.get()))
        throw ReportError(ReportError::PathFileAccessError,
                          QStringLiteral("The PDF file could not be written: '%1'").arg(m_fileName));
    painterStarted();
    return m_painter.get();
}

void PdfSurface::NewPage()
{
    painter();
    m_writer->newPage();
    painterStarted(); // a new page starts from the writer's defaults
    resetState();
}

void PdfSurface::EndDoc()
{
    // An empty report still makes a (blank) page.
    painter();
    m_painter->end();
    m_painter.reset();
    m_writer.reset();
    const bool ok = m_file->commit();
    const QString why = m_file->errorText();
    const qint32 number = m_file->errorNumber();
    m_file.reset();
    if (!ok)
        throw ReportError(number ? number : ReportError::PathFileAccessError,
                          QStringLiteral("The PDF file could not be written: '%1' (%2)").arg(m_fileName, why));
}

} // namespace KRML_ReportGen

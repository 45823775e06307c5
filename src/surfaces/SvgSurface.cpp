#include "SvgSurface.h"

#include "ReportError.h"

#include "DurableFile.h"
#include <QSvgGenerator>

namespace KRML_ReportGen {

SvgSurface::SvgSurface(QString filePattern, double widthTwips, double heightTwips)
    : m_pattern(std::move(filePattern)), m_width(widthTwips), m_height(heightTwips)
{
}

SvgSurface::~SvgSurface()
{
    // An unfinished page is abandoned: its file never appears.
    if (m_painter)
        m_painter->end();
}

QString SvgSurface::fileFor(int page) const
{
    return m_pattern.contains(QLatin1String("%1")) ? m_pattern.arg(page) : m_pattern;
}

void SvgSurface::Cls()
{
    resetState();
}

QPainter *SvgSurface::painter()
{
    if (m_painter)
        return m_painter.get();
    m_file = std::make_unique<DurableFile>(fileFor(m_page));
    if (!m_file->open(QIODevice::WriteOnly))
        throw ReportError(m_file->errorNumber() ? m_file->errorNumber() : ReportError::PathFileAccessError,
                          QStringLiteral("The SVG file could not be written: '%1' (%2)").arg(fileFor(m_page), m_file->errorText()));
    m_generator = std::make_unique<QSvgGenerator>();
    m_generator->setOutputDevice(m_file.get());
    // One SVG unit is one twip.
    m_generator->setResolution(1440);
    m_generator->setSize(QSize(int(m_width + 0.5), int(m_height + 0.5)));
    m_generator->setViewBox(QRectF(0, 0, m_width, m_height));
    m_generator->setTitle(QStringLiteral("KRML ReportGen page %1").arg(m_page));
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(m_generator.get()))
        throw ReportError(ReportError::PathFileAccessError, QStringLiteral("The SVG file could not be written: '%1'").arg(fileFor(m_page)));
    m_painter->fillRect(QRectF(0, 0, m_width, m_height), Qt::white);
    painterStarted();
    return m_painter.get();
}

void SvgSurface::finishPage()
{
    painter();
    m_painter->end();
    m_painter.reset();
    m_generator.reset();
    const bool ok = m_file->commit();
    const QString why = m_file->errorText();
    const qint32 number = m_file->errorNumber();
    m_file.reset();
    if (!ok)
        throw ReportError(number ? number : ReportError::PathFileAccessError,
                          QStringLiteral("The SVG file could not be written: '%1' (%2)").arg(fileFor(m_page), why));
    ++m_written;
}

void SvgSurface::NewPage()
{
    finishPage();
    ++m_page;
    resetState();
}

void SvgSurface::EndDoc()
{
    finishPage();
}

} // namespace KRML_ReportGen

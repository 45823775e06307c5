#include "PreviewWindow.h"

#include "LayoutPage.h"
#include "ModuleState.h"
#include "MsgBoxStyle.h"
#include "PictureSurface.h"
#include "PreviewPageWidget.h"
#include "PrinterSurface.h"
#include "ReportError.h"
#include "ReportGenerator.h"
#include "ThemeIcon.h"
#include "UserPrompts.h"
#include "ZoomBox.h"

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QScrollArea>
#include <QScrollBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace KRML_ReportGen {

namespace {

constexpr int kThumbnailWidth = 96;
constexpr qint32 kCancelled = ReportError::UserInterrupt;

} // namespace

PreviewWindow::PreviewWindow(LayoutPage &page, QueryLoader &loader, UserPrompts &prompts, QWidget *parent)
    : QMainWindow(parent), m_page(page), m_loader(loader), m_prompts(prompts),
      m_generator(std::make_unique<ReportGenerator>(page, loader))
{
    setObjectName(QStringLiteral("frmPreview"));
    setWindowTitle(QStringLiteral("Preview"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("scrPreview"));
    m_scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_pageWidget = new PreviewPageWidget;
    m_scroll->setWidget(m_pageWidget);
    setCentralWidget(m_scroll);

    auto *dock = new QDockWidget(QStringLiteral("Pages"), this);
    dock->setObjectName(QStringLiteral("dockPages"));
    dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetClosable);
    m_thumbnails = new QListWidget(dock);
    m_thumbnails->setObjectName(QStringLiteral("lstThumbnails"));
    m_thumbnails->setViewMode(QListView::IconMode);
    m_thumbnails->setFlow(QListView::TopToBottom);
    m_thumbnails->setWrapping(false);
    m_thumbnails->setMovement(QListView::Static);
    m_thumbnails->setIconSize(QSize(kThumbnailWidth, int(kThumbnailWidth * 1.42)));
    m_thumbnails->setSpacing(6);
    m_thumbnails->setUniformItemSizes(true);
    m_thumbnails->setMinimumWidth(kThumbnailWidth + 40);
    dock->setWidget(m_thumbnails);
    addDockWidget(Qt::LeftDockWidgetArea, dock);
    resizeDocks({dock}, {kThumbnailWidth + 48}, Qt::Horizontal);
    connect(m_thumbnails, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row + 1 != m_current)
            showPage(row + 1);
    });

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lblPreviewStatus"));
    statusBar()->addWidget(m_status, 1);
    buildActions();

    // A change of the design makes the pages old: they are made again when
    // the window is next activated, or by Refresh.
    const auto stale = [this] { m_stale = true; };
    for (auto signal : {&LayoutPage::labelChanged, &LayoutPage::picChanged, &LayoutPage::labelAdded, &LayoutPage::picAdded,
                        &LayoutPage::labelRemoved, &LayoutPage::picRemoved})
        connect(&page, signal, this, stale);
    connect(&page, &LayoutPage::cleared, this, stale);
    connect(&page, &LayoutPage::sizeChanged, this, stale);
    resize(900, 800);
    updateControls();
}

PreviewWindow::~PreviewWindow() = default;

void PreviewWindow::buildActions()
{
    QToolBar *bar = addToolBar(QStringLiteral("Preview"));
    bar->setObjectName(QStringLiteral("tbPreview"));
    bar->setMovable(false);
    const auto action = [this, bar](const QString &icon, const QString &text, const QKeySequence &key, auto slot) {
        auto *a = new QAction(ThemeIcon::get(icon), text, this);
        a->setShortcut(key);
        a->setToolTip(key.isEmpty() ? text : QStringLiteral("%1 (%2)").arg(text, key.toString(QKeySequence::NativeText)));
        connect(a, &QAction::triggered, this, slot);
        bar->addAction(a);
        return a;
    };
    action(QStringLiteral("document-print"), QStringLiteral("Print..."), QKeySequence::Print, [this] { print(); });
    auto *exportButton = new QToolButton(bar);
    exportButton->setObjectName(QStringLiteral("cmdExport"));
    exportButton->setIcon(ThemeIcon::get(QStringLiteral("document-export")));
    exportButton->setText(QStringLiteral("Export"));
    exportButton->setToolTip(QStringLiteral("Export the report to a file"));
    exportButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    exportButton->setPopupMode(QToolButton::InstantPopup);
    auto *exportMenu = new QMenu(exportButton);
    connect(exportMenu, &QMenu::aboutToShow, this, [this, exportMenu] {
        // The list may have grown since the window was made.
        exportMenu->clear();
        for (int i = 0; i < m_formats.size(); ++i)
            exportMenu->addAction(QStringLiteral("%1 (.%2)...").arg(m_formats[i].name, m_formats[i].suffix), this,
                                  [this, i] { exportAs(i); });
    });
    exportButton->setMenu(exportMenu);
    bar->addWidget(exportButton);
    action(QStringLiteral("view-refresh"), QStringLiteral("Refresh"), QKeySequence::Refresh, [this] { refresh(); });
    bar->addSeparator();

    m_first = action(QStringLiteral("go-first"), QStringLiteral("First Page"), QKeySequence(Qt::CTRL | Qt::Key_Home), [this] { showPage(1); });
    m_previous = action(QStringLiteral("go-previous"), QStringLiteral("Previous Page"), QKeySequence(Qt::Key_PageUp),
                        [this] { showPage(m_current - 1); });
    m_pageBox = new QSpinBox(bar);
    m_pageBox->setObjectName(QStringLiteral("txtPage"));
    m_pageBox->setRange(1, 1);
    m_pageBox->setKeyboardTracking(false);
    m_pageBox->setToolTip(QStringLiteral("Page"));
    bar->addWidget(m_pageBox);
    m_pageOf = new QLabel(bar);
    m_pageOf->setObjectName(QStringLiteral("lblPageOf"));
    m_pageOf->setContentsMargins(4, 0, 4, 0);
    bar->addWidget(m_pageOf);
    connect(m_pageBox, &QSpinBox::valueChanged, this, [this](int page) {
        if (page != m_current)
            showPage(page);
    });
    m_next = action(QStringLiteral("go-next"), QStringLiteral("Next Page"), QKeySequence(Qt::Key_PageDown), [this] { showPage(m_current + 1); });
    m_last = action(QStringLiteral("go-last"), QStringLiteral("Last Page"), QKeySequence(Qt::CTRL | Qt::Key_End),
                    [this] { showPage(pageCount()); });
    bar->addSeparator();

    action(QStringLiteral("zoom-out"), QStringLiteral("Zoom Out"), QKeySequence::ZoomOut, [this] { setZoom(m_pageWidget->zoom() / 1.25); });
    m_zoomBox = new ZoomBox(bar);
    bar->addWidget(m_zoomBox);
    action(QStringLiteral("zoom-in"), QStringLiteral("Zoom In"), QKeySequence::ZoomIn, [this] { setZoom(m_pageWidget->zoom() * 1.25); });
    connect(m_zoomBox, &ZoomBox::zoomRequested, this, &PreviewWindow::setZoom);
    connect(m_zoomBox, &ZoomBox::fitPageRequested, this, [this] { fit(Fit::Page); });
    connect(m_zoomBox, &ZoomBox::fitWidthRequested, this, [this] { fit(Fit::Width); });
    bar->addSeparator();

    m_paginateAction = new QAction(QStringLiteral("Continue on Further Pages"), this);
    m_paginateAction->setObjectName(QStringLiteral("mnuPaginate"));
    m_paginateAction->setCheckable(true);
    m_paginateAction->setChecked(m_paginate);
    m_paginateAction->setToolTip(QStringLiteral("Lists longer than the page continue on further pages"));
    connect(m_paginateAction, &QAction::toggled, this, [this](bool on) {
        m_paginate = on;
        emit paginateChanged(on);
        refresh();
    });
    bar->addAction(m_paginateAction);
    auto *close = new QAction(QStringLiteral("Close"), this);
    close->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(close, &QAction::triggered, this, &QWidget::close);
    addAction(close);
}

void PreviewWindow::setPaginate(bool on)
{
    m_paginate = on;
    const QSignalBlocker block(m_paginateAction);
    m_paginateAction->setChecked(on);
}

bool PreviewWindow::run(ReportGenerator &generator, const QString &what, const std::function<void()> &body)
{
    QProgressDialog progress(what, QStringLiteral("Cancel"), 0, 100, this);
    progress.setObjectName(QStringLiteral("dlgProgress"));
    progress.setWindowTitle(windowTitle());
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(400);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    // The objects as they are laid out, then the pages as they are drawn
    // (a long export spends its time there), then the rows an export
    // writes of its data.
    const auto step = [&progress](int done, int total) {
        progress.setMaximum(std::max(1, total));
        progress.setValue(std::min(done, total));
        QCoreApplication::processEvents(); // the Cancel button
        if (progress.wasCanceled())
            throw ReportError(kCancelled, QStringLiteral("User interrupt occurred"));
    };
    generator.setProgress(step);
    generator.setPageProgress(step);
    generator.setRowProgress(step);
    m_error.clear();
    bool ok = true;
    QApplication::setOverrideCursor(Qt::BusyCursor);
    try {
        body();
    } catch (const ReportError &e) {
        ok = false;
        if (e.number() == kCancelled) {
            m_error = QStringLiteral("Cancelled");
        } else {
            m_error = QStringLiteral("Error %1: %2").arg(e.number()).arg(e.description());
            QApplication::restoreOverrideCursor();
            m_prompts.msgBox(QStringLiteral("The report could not be generated.\r\n\r\n%1").arg(m_error), MsgBoxStyle::Exclamation,
                             windowTitle());
            QApplication::setOverrideCursor(Qt::BusyCursor);
        }
    }
    QApplication::restoreOverrideCursor();
    generator.setProgress({});
    generator.setPageProgress({});
    generator.setRowProgress({});
    return ok;
}

bool PreviewWindow::refresh()
{
    // As the control's preview does: the host's parameter values start
    // empty, so the report asks for those it needs; exporting and printing
    // then reuse the answers.
    ModuleState &state = ModuleState::current();
    state.setParamFieldCollection(std::make_shared<VariantCollection>());
    state.setParamValueCollection(std::make_shared<VariantCollection>());
    m_stale = false;
    QElapsedTimer clock;
    clock.start();
    PictureSurface surface(m_page.Width(), m_page.Height());
    m_generator->setPaginate(m_paginate);
    m_generator->setPageRange(1, std::numeric_limits<int>::max());
    const bool ok = run(*m_generator, QStringLiteral("Generating the report..."), [&] { m_generator->GenerateOutput(surface); });
    if (!ok) {
        m_status->setText(m_error == QLatin1String("Cancelled") ? QStringLiteral("Generating was cancelled: the pages shown are the earlier ones.")
                                                               : m_error);
        updateControls();
        return false;
    }
    m_pages = surface.pages();
    m_pageWidth = surface.Width();
    m_pageHeight = surface.Height();
    const int keep = std::clamp(m_current, 1, int(m_pages.size()));
    m_current = 0;
    fillThumbnails();
    showPage(keep);
    if (m_fit != Fit::None)
        fit(m_fit);
    m_status->setText(QStringLiteral("%1 page(s), generated in %2 s").arg(m_pages.size()).arg(clock.elapsed() / 1000.0, 0, 'f', 2));
    return true;
}

void PreviewWindow::fillThumbnails()
{
    const QSignalBlocker block(m_thumbnails);
    m_thumbnails->clear();
    QPixmap blank(m_thumbnails->iconSize());
    blank.fill(Qt::white);
    for (int i = 1; i <= m_pages.size(); ++i) {
        auto *item = new QListWidgetItem(QIcon(blank), QString::number(i), m_thumbnails);
        item->setTextAlignment(Qt::AlignHCenter);
    }
    // Drawn a few at a time, so that a long report shows at once.
    m_thumbnailsDone = 0;
    QTimer::singleShot(0, this, &PreviewWindow::renderSomeThumbnails);
}

void PreviewWindow::renderSomeThumbnails()
{
    const int until = std::min(int(m_pages.size()), m_thumbnailsDone + 8);
    for (; m_thumbnailsDone < until; ++m_thumbnailsDone) {
        const QImage image = PreviewPageWidget::render(m_pages[m_thumbnailsDone], m_pageWidth, m_pageHeight, kThumbnailWidth);
        if (QListWidgetItem *item = m_thumbnails->item(m_thumbnailsDone))
            item->setIcon(QIcon(QPixmap::fromImage(image)));
    }
    if (m_thumbnailsDone < m_pages.size())
        QTimer::singleShot(0, this, &PreviewWindow::renderSomeThumbnails);
}

void PreviewWindow::showPage(int page)
{
    if (m_pages.isEmpty())
        return;
    page = std::clamp(page, 1, int(m_pages.size()));
    if (page == m_current)
        return;
    m_current = page;
    m_pageWidget->setPage(m_pages[page - 1], m_pageWidth, m_pageHeight);
    m_scroll->verticalScrollBar()->setValue(0);
    {
        const QSignalBlocker block(m_thumbnails);
        m_thumbnails->setCurrentRow(page - 1);
    }
    updateControls();
    emit pageShown(page);
}

void PreviewWindow::updateControls()
{
    const int pages = int(m_pages.size());
    const QSignalBlocker block(m_pageBox);
    m_pageBox->setRange(1, std::max(1, pages));
    m_pageBox->setValue(std::max(1, m_current));
    m_pageBox->setEnabled(pages > 1);
    m_pageOf->setText(QStringLiteral("of %1").arg(std::max(1, pages)));
    m_first->setEnabled(m_current > 1);
    m_previous->setEnabled(m_current > 1);
    m_next->setEnabled(m_current < pages);
    m_last->setEnabled(m_current < pages);
    m_zoomBox->showZoom(m_pageWidget->zoom());
}

void PreviewWindow::setZoom(double percent)
{
    m_fit = Fit::None;
    m_pageWidget->setZoom(percent);
    m_zoomBox->showZoom(m_pageWidget->zoom());
}

void PreviewWindow::fit(Fit how)
{
    m_fit = how;
    if (m_pageWidth <= 0)
        return;
    const QSize viewport = m_scroll->viewport()->size();
    const int bar = m_scroll->verticalScrollBar()->sizeHint().width();
    m_pageWidget->setZoom(how == Fit::Width ? m_pageWidget->fitWidthZoom(viewport - QSize(bar, 0)) : m_pageWidget->fitPageZoom(viewport));
    m_zoomBox->showZoom(m_pageWidget->zoom());
}

void PreviewWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (m_fit != Fit::None)
        fit(m_fit);
}

bool PreviewWindow::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate && m_stale && isVisible())
        QTimer::singleShot(0, this, [this] {
            if (m_stale)
                refresh();
        });
    return QMainWindow::event(event);
}

void PreviewWindow::exportAs(int format)
{
    if (format < 0 || format >= m_formats.size())
        return;
    const ReportExport::Format &f = m_formats[format];
    const QString name = windowFilePath().isEmpty() ? QStringLiteral("report") : QFileInfo(windowFilePath()).completeBaseName();
    const QString path = m_prompts.saveFileName(QStringLiteral("Export"), QStringLiteral("%1 (*.%2)|*.%2").arg(f.name, f.suffix), 1,
                                                QString(), name + QLatin1Char('.') + f.suffix);
    if (!path.isEmpty())
        exportTo(format, QFileInfo(path).suffix().isEmpty() ? path + QLatin1Char('.') + f.suffix : path);
}

bool PreviewWindow::exportTo(int format, const QString &path)
{
    if (format < 0 || format >= m_formats.size())
        return false;
    const ReportExport::Format &f = m_formats[format];
    ReportExport::Options options;
    options.filePerPage = f.filePerPage && m_paginate && m_pages.size() > 1;
    options.documentName = windowFilePath().isEmpty() ? windowTitle() : QFileInfo(windowFilePath()).completeBaseName();
    QStringList written;
    m_generator->setPaginate(m_paginate);
    m_generator->setPageRange(1, std::numeric_limits<int>::max());
    const bool ok = run(*m_generator, QStringLiteral("Exporting the report..."),
                        [&] { written = f.write(*m_generator, m_page, path, options); });
    if (ok)
        m_status->setText(written.size() == 1 ? QStringLiteral("Exported to %1").arg(written.first())
                                              : QStringLiteral("Exported %1 files: %2 ...").arg(written.size()).arg(written.first()));
    return ok;
}

void PreviewWindow::print()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(windowTitle());
    QPrintDialog dialog(&printer, this);
    dialog.setMinMax(1, std::max(1, pageCount()));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const bool range = printer.printRange() == QPrinter::PageRange;
    printTo(&printer, range ? printer.fromPage() : 0, range ? printer.toPage() : 0);
}

bool PreviewWindow::printTo(QPrinter *printer, int fromPage, int toPage)
{
    PrinterSurface surface(printer);
    m_generator->setPaginate(m_paginate);
    m_generator->setPageRange(fromPage > 0 ? fromPage : 1, toPage > 0 ? toPage : std::numeric_limits<int>::max());
    const bool ok = run(*m_generator, QStringLiteral("Printing the report..."), [&] { m_generator->GenerateOutput(surface); });
    if (ok)
        m_status->setText(QStringLiteral("Sent to the printer"));
    return ok;
}

} // namespace KRML_ReportGen

#pragma once

#include "ReportExport.h"

#include <QMainWindow>
#include <QPicture>
#include <memory>

class QAction;
class QLabel;
class QListWidget;
class QPrinter;
class QScrollArea;
class QSpinBox;

namespace KRML_ReportGen {

class LayoutPage;
class PreviewPageWidget;
class QueryLoader;
class ReportGenerator;
class UserPrompts;
class ZoomBox;

// A window of its own for the filled report: page by page with thumbnails,
// zoom (fit page, fit width, percentages), print (the system's print
// dialog), export to the formats of a list (PDF, PNG, SVG to begin with;
// setFormats adds others), refresh after the design changed. Generating
// shows its progress when it takes a while and can be cancelled. A host
// may open it on its own control's page.
class PreviewWindow : public QMainWindow
{
    Q_OBJECT
public:
    enum class Fit { None, Page, Width };

    PreviewWindow(LayoutPage &page, QueryLoader &loader, UserPrompts &prompts, QWidget *parent = nullptr);
    ~PreviewWindow() override;

    // Lists that pass the page body continue on further pages (off, as in
    // the control, until the user or the host turns it on).
    void setPaginate(bool on);
    bool paginate() const { return m_paginate; }
    // The formats Export offers.
    void setFormats(QList<ReportExport::Format> formats) { m_formats = std::move(formats); }
    const QList<ReportExport::Format> &formats() const { return m_formats; }

    int pageCount() const { return int(m_pages.size()); }
    // Page n (1-based) as recorded.
    QPicture page(int n) const { return n >= 1 && n <= m_pages.size() ? m_pages[n - 1] : QPicture(); }
    int currentPage() const { return m_current; }
    PreviewPageWidget *pageWidget() const { return m_pageWidget; }
    QListWidget *thumbnails() const { return m_thumbnails; }
    ZoomBox *zoomBox() const { return m_zoomBox; }
    // The last run's failure ("" when it went well, "Cancelled" when stopped).
    QString lastError() const { return m_error; }

public slots:
    // Generates the report again (the host's parameter values start empty,
    // as a preview in the control does). False when it failed or was cancelled.
    bool refresh();
    void showPage(int page);
    void setZoom(double percent);
    void fit(Fit how);
    // Asks where, then writes the report in that format.
    void exportAs(int format);
    // Writes the report in a format to a file without asking; false (after a message) on failure.
    bool exportTo(int format, const QString &path);
    // The system print dialog, then printTo.
    void print();
    bool printTo(QPrinter *printer, int fromPage = 0, int toPage = 0);

signals:
    void pageShown(int page);
    void paginateChanged(bool on);

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildActions();
    // Runs the generator with progress and cancel; false after a failure
    // (told to the user unless cancelled).
    bool run(ReportGenerator &generator, const QString &what, const std::function<void()> &body);
    void fillThumbnails();
    void renderSomeThumbnails();
    void updateControls();

    LayoutPage &m_page;
    QueryLoader &m_loader;
    UserPrompts &m_prompts;
    std::unique_ptr<ReportGenerator> m_generator;
    QList<ReportExport::Format> m_formats = ReportExport::standardFormats();
    QList<QPicture> m_pages;
    double m_pageWidth = 0;
    double m_pageHeight = 0;
    int m_current = 0;
    bool m_paginate = false;
    bool m_stale = false;
    Fit m_fit = Fit::Page;
    QString m_error;
    int m_thumbnailsDone = 0;

    QScrollArea *m_scroll;
    PreviewPageWidget *m_pageWidget;
    QListWidget *m_thumbnails;
    ZoomBox *m_zoomBox;
    QSpinBox *m_pageBox;
    QLabel *m_pageOf;
    QLabel *m_status;
    QAction *m_first = nullptr;
    QAction *m_previous = nullptr;
    QAction *m_next = nullptr;
    QAction *m_last = nullptr;
    QAction *m_paginateAction = nullptr;
};

} // namespace KRML_ReportGen

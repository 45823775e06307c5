// The standalone designer as a user works with it, on the offscreen
// platform: the real window on the example reports and their database.
// Opening from the command line, connecting, dropping a field, choosing and
// aligning with the pointer, undoing all of it, saving and opening again;
// the question before changes are lost; the clipboard between two windows;
// the inspector's editors; the preview window's pages, export and printing;
// the examples readable on the page; pictures of the windows against the
// reviewed ones; the desktop entry and the MIME type of ".lrd".

#include "DesignerCommands.h"
#include "DesignerConnection.h"
#include "DesignerDocument.h"
#include "DesignerEditActions.h"
#include "DesignerView.h"
#include "DesignerWindow.h"
#include "FieldPalette.h"
#include "LayoutFile.h"
#include "LayoutPage.h"
#include "LocalFileService.h"
#include "MemorySettingsStore.h"
#include "ModuleState.h"
#include "ObjectListModel.h"
#include "ObjectListPanel.h"
#include "PageObjectItem.h"
#include "PreviewPageWidget.h"
#include "PreviewWindow.h"
#include "ProcessTempNames.h"
#include "PropertyInspector.h"
#include "ReportGenOCX.h"
#include "ScriptedPrompts.h"
#include "Selection.h"
#include "ZoomBox.h"

#include <QClipboard>
#include <QDockWidget>
#include <QGraphicsScene>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QMimeDatabase>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QStatusBar>
#include <QComboBox>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QUndoStack>
#include <QProgressDialog>
#include <QtTest>

using namespace KRML_ReportGen;

class TestDesignerApp : public QObject
{
    Q_OBJECT

    QTemporaryDir m_examples;
    QTemporaryDir m_work;
    std::unique_ptr<QTemporaryDir> m_app;
    std::shared_ptr<ScriptedPrompts> m_prompts;
    std::shared_ptr<MemorySettingsStore> m_settings;

    QString example(const QString &name) const { return m_examples.filePath(name); }
    QString output(const QString &name) const { return QDir(QStringLiteral(KRML_BINARY_DIR)).filePath(name); }
    QString database() const { return QStringLiteral("Provider=SQLite;Data Source=") + example(QStringLiteral("sales.db")); }

    std::unique_ptr<DesignerWindow> window()
    {
        ControlServices services{m_settings, m_prompts, std::make_shared<LocalFileService>(), std::make_shared<ProcessTempNames>(), nullptr};
        auto w = std::make_unique<DesignerWindow>(services);
        w->resize(1280, 860);
        w->show();
        return w;
    }
    static DesignerView &view(DesignerWindow &w) { return w.control()->designer(); }
    static QPoint at(DesignerView &v, double x, double y) { return v.fromTwips(QPointF(x, y)); }
    static QString pageText(DesignerWindow &w) { return LayoutFile::toText(w.control()->page()); }

    // Answers the next "save the changes?" box with a button.
    void answerSaveQuestion(QMessageBox::StandardButton button, bool *asked)
    {
        QTimer::singleShot(0, this, [button, asked] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            QCOMPARE(box->objectName(), QStringLiteral("msgSaveChanges"));
            QVERIFY(box->text().startsWith(QStringLiteral("The report \"")));
            *asked = true;
            box->button(button)->click();
        });
    }

    // The fraction of pixels that differ clearly between two pictures.
    static double difference(const QImage &a, const QImage &b, QImage *diff)
    {
        if (a.size() != b.size())
            return 1.0;
        *diff = QImage(a.size(), QImage::Format_RGB32);
        diff->fill(Qt::white);
        qint64 differing = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x) {
                const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
                const int d = std::max({std::abs(p.red() - q.red()), std::abs(p.green() - q.green()), std::abs(p.blue() - q.blue())});
                if (d > 64) {
                    ++differing;
                    diff->setPixelColor(x, y, Qt::red);
                }
            }
        return double(differing) / (a.width() * a.height());
    }

    // Writes the picture into the build folder and compares it with the
    // reviewed one: a changed look is a reviewed change of the reference.
    void compareWithReference(const QImage &shot, const QString &name)
    {
        const QString actual = output(name);
        QVERIFY(shot.save(actual));
        const QString referencePath = QStringLiteral(KRML_SOURCE_DIR "/tests/apps/reference/") + name;
        const QImage reference(referencePath);
        QVERIFY2(!reference.isNull(), qPrintable(QStringLiteral("no reference %1; review %2 and copy it there").arg(referencePath, actual)));
        QImage diff;
        const double changed = difference(shot.convertToFormat(QImage::Format_RGB32), reference.convertToFormat(QImage::Format_RGB32), &diff);
        if (changed > 0.01)
            diff.save(output(QStringLiteral("diff-") + name));
        QVERIFY2(changed <= 0.01, qPrintable(QStringLiteral("%1: %2 % of the pixels differ from %3 (see %4)")
                                                  .arg(name)
                                                  .arg(changed * 100, 0, 'f', 2)
                                                  .arg(referencePath, output(QStringLiteral("diff-") + name))));
    }

private slots:
    void initTestCase()
    {
        // Screens look the same on every machine: one style, one font, the bundled icons.
        QApplication::setStyle(QStringLiteral("Fusion"));
        QApplication::setFont(QFont(QStringLiteral("Liberation Sans"), 9));
        QIcon::setThemeName(QStringLiteral("krml-test-no-theme"));
        QProcess make;
        make.start(QStringLiteral(MAKEEXAMPLES), {m_examples.path()});
        QVERIFY(make.waitForFinished(60000));
        QVERIFY2(make.exitCode() == 0, make.readAllStandardError().constData());
    }

    void init()
    {
        m_app = std::make_unique<QTemporaryDir>();
        ModuleState::current().reset();
        ModuleState::current().setRdAppPath(m_app->path());
        m_prompts = std::make_shared<ScriptedPrompts>();
        m_settings = std::make_shared<MemorySettingsStore>();
    }

    void openConnectDropAlignUndoSaveReopen()
    {
        auto w = window();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        // reportdesigner customers.lrd: the package, and the database its
        // Data.cnn names, found beside it.
        w->start(QString(), example(QStringLiteral("customers.lrd")));
        QCOMPARE(w->windowTitle(), QStringLiteral("customers.lrd[*] - Report Designer"));
        QVERIFY(!w->isWindowModified());
        QVERIFY(w->connection().isOpen());
        QCOMPARE(w->findChild<QLabel *>(QStringLiteral("lblConnection"))->text(), QStringLiteral("Connected to sales.db"));
        const QString original = pageText(*w);
        const int labels = w->control()->page().labelCount();
        DesignerView &v = view(*w);

        // The field palette in its dock, on the connection.
        FieldPalette &palette = v.fieldPalette();
        QVERIFY(palette.docked());
        QCOMPARE(palette.statements()->count(), 2);
        palette.statements()->setCurrentRow(0);
        QVERIFY(palette.fields()->count() >= 5);

        // A field dropped on the empty page.
        QMimeData mime;
        mime.setData(FieldPalette::mimeType(), QByteArrayLiteral("Customers\nEmail"));
        const QPoint drop = at(v, 1000, 6000);
        QDragEnterEvent enter(drop, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(v.viewport(), &enter);
        QDropEvent dropEvent(drop, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(v.viewport(), &dropEvent);
        QCOMPARE(w->control()->page().labelCount(), labels + 1);
        const int dropped = labels + 1;
        QCOMPARE(w->control()->page().Label(dropped).Tag, QStringLiteral("DATA:Customers.Email"));
        QVERIFY(w->isWindowModified());

        // The title (label 1) clicked, the new field Ctrl-clicked, aligned left.
        const LayoutLabel &title = w->control()->page().Label(1);
        QTest::mouseClick(v.viewport(), Qt::LeftButton, {}, at(v, title.Left + 300, title.Top + 200));
        const LayoutLabel &field = w->control()->page().Label(dropped);
        QTest::mouseClick(v.viewport(), Qt::LeftButton, Qt::ControlModifier, at(v, field.Left + 200, field.Top + 100));
        QCOMPARE(v.commands().selection().count(), 2);
        QCOMPARE(w->inspector()->caption(), QStringLiteral("2 objects"));
        QAction *alignLeft = w->editActions().action(DesignerEditActions::AlignLeft);
        QVERIFY(alignLeft->isEnabled());
        alignLeft->trigger();
        QCOMPARE(field.Left, title.Left);
        // Dragging the two with the pointer moves both, snapped to the grid.
        const float titleTop = title.Top;
        QTest::mousePress(v.viewport(), Qt::LeftButton, {}, at(v, field.Left + 200, field.Top + 100));
        QTest::mouseMove(v.viewport(), at(v, field.Left + 200 + 600, field.Top + 100 + 300));
        QTest::mouseRelease(v.viewport(), Qt::LeftButton, {}, at(v, field.Left + 200 + 600, field.Top + 100 + 300));
        QCOMPARE(field.Left, title.Left);
        QVERIFY(title.Top != titleTop);
        QCOMPARE(std::fmod(double(field.Left), 113.0), 0.0);

        // Everything undone: the page as it was opened.
        QUndoStack &undo = v.undoStack();
        while (undo.canUndo())
            undo.undo();
        QCOMPARE(pageText(*w), original);
        QVERIFY(!w->isWindowModified());
        undo.redo();
        undo.redo();
        QVERIFY(w->isWindowModified());

        // Saved under another name: the connection stays in it, as it was in the opened one.
        const QString saved = m_work.filePath(QStringLiteral("customers-2.lrd"));
        m_prompts->answer(saved);
        w->findAction(QStringLiteral("mnuSaveAs"))->trigger();
        QVERIFY(QFileInfo::exists(saved));
        QVERIFY(!w->isWindowModified());
        QCOMPARE(w->windowTitle(), QStringLiteral("customers-2.lrd[*] - Report Designer"));
        for (const auto &call : std::as_const(m_prompts->calls))
            QVERIFY2(call.kind != QLatin1String("msgBox"), qPrintable(call.text)); // no question, no "saved" box
        const QString savedText = pageText(*w);
        QCOMPARE(w->document().recentFiles().files().first(), saved);

        // Opened again in a new window: the same page, connected.
        w.reset();
        auto again = window();
        again->start(QString(), saved);
        QCOMPARE(pageText(*again), savedText);
        QVERIFY(again->connection().isOpen());
        QCOMPARE(again->control()->statementList().size(), 2);
    }

    void unsavedChangesAreNeverLostSilently()
    {
        // A copy of the example: saving writes it.
        const QString copy = m_work.filePath(QStringLiteral("orders-copy.lrd"));
        QFile::remove(copy);
        QVERIFY(QFile::copy(example(QStringLiteral("orders-since.lrd")), copy));
        auto w = window();
        w->start(QString(), copy);
        const int labels = w->control()->page().labelCount();
        w->control()->InsertLabel();
        QVERIFY(w->isWindowModified());
        bool asked = false;
        // Close: Cancel keeps the window and the change.
        answerSaveQuestion(QMessageBox::Cancel, &asked);
        QVERIFY(!w->close());
        QVERIFY(asked);
        QVERIFY(w->isVisible());
        QCOMPARE(w->control()->page().labelCount(), labels + 1);
        // New: Cancel again; then Discard.
        asked = false;
        answerSaveQuestion(QMessageBox::Cancel, &asked);
        w->findAction(QStringLiteral("mnuNew"))->trigger();
        QVERIFY(asked);
        QCOMPARE(w->control()->page().labelCount(), labels + 1);
        // Open: Save writes the package first, without asking where.
        asked = false;
        answerSaveQuestion(QMessageBox::Save, &asked);
        m_prompts->calls.clear();
        m_prompts->answer(example(QStringLiteral("customers.lrd"))); // Open
        w->findAction(QStringLiteral("mnuOpen"))->trigger();
        QVERIFY(asked);
        QCOMPARE(w->document().path(), example(QStringLiteral("customers.lrd")));
        auto reopened = window();
        reopened->start(QString(), copy);
        QCOMPARE(reopened->control()->page().labelCount(), labels + 1);
        reopened.reset();
        // Unchanged: closing asks nothing.
        QVERIFY(!w->isWindowModified());
        QVERIFY(w->close());
        // Exit with a change and Discard: it closes.
        auto other = window();
        other->control()->InsertLabel();
        asked = false;
        answerSaveQuestion(QMessageBox::Discard, &asked);
        other->findAction(QStringLiteral("mnuExit"))->trigger();
        QVERIFY(asked);
        QVERIFY(!other->isVisible());
    }

    void connectionFromTheCommandLineIsRemembered()
    {
        {
            auto w = window();
            w->start(database() + QStringLiteral(";Password=secret"), QString());
            QVERIFY(w->connection().isOpen());
            QCOMPARE(w->connection().remembered(), database());
        }
        // The next start connects by itself.
        ModuleState::current().reset();
        ModuleState::current().setRdAppPath(m_app->path());
        auto w = window();
        w->start(QString(), QString());
        QVERIFY(w->connection().isOpen());
        QCOMPARE(w->findChild<QLabel *>(QStringLiteral("lblConnection"))->text(), QStringLiteral("Connected to sales.db"));
    }

    void aPackageWhoseDatabaseIsMissingStillOpens()
    {
        // The package alone in a folder: its sales.db is nowhere to be found.
        const QString lonely = m_work.filePath(QStringLiteral("alone"));
        QDir().mkpath(lonely);
        const QString package = lonely + QStringLiteral("/customers.lrd");
        QFile::remove(package);
        QVERIFY(QFile::copy(example(QStringLiteral("customers.lrd")), package));
        auto w = window();
        w->start(QString(), package);
        QVERIFY(w->control()->page().labelCount() > 10);
        QVERIFY(!w->connection().isOpen());
        QVERIFY(m_prompts->messages().last().startsWith(QStringLiteral("The database could not be opened with the connection")));
        QVERIFY(w->findChild<QLabel *>(QStringLiteral("lblConnection"))->text().startsWith(QStringLiteral("Not connected: ")));
        // The command line's connection is taken instead of the package's own.
        auto connected = window();
        connected->start(database(), package);
        QVERIFY(connected->connection().isOpen());
        QCOMPARE(connected->control()->statementList().size(), 2);
    }

    void openingAMissingFileSaysSo()
    {
        auto w = window();
        w->document().recentFiles().add(m_work.filePath(QStringLiteral("gone.lrd")));
        QVERIFY(!w->document().open(m_work.filePath(QStringLiteral("gone.lrd"))));
        QVERIFY(m_prompts->messages().last().contains(QStringLiteral("does not exist")));
        QVERIFY(w->document().recentFiles().files().isEmpty());
        QCOMPARE(w->windowTitle(), QStringLiteral("Untitled[*] - Report Designer"));
    }

    void clipboardBetweenTwoWindows()
    {
        auto first = window();
        first->start(QString(), example(QStringLiteral("orders-since.lrd")));
        auto second = window();
        view(*first).commands().selection().set({{ObjectRef::Label, 1}, {ObjectRef::Label, 2}});
        first->editActions().action(DesignerEditActions::Copy)->trigger();
        QVERIFY(QGuiApplication::clipboard()->text().startsWith(QStringLiteral("KRMLLayoutFile")));
        QAction *paste = second->editActions().action(DesignerEditActions::Paste);
        QVERIFY(paste->isEnabled());
        paste->trigger();
        QCOMPARE(second->control()->page().labelCount(), 2);
        QCOMPARE(second->control()->page().Label(1).Caption, QStringLiteral("Orders since a date"));
        QCOMPARE(view(*second).commands().selection().count(), 2);
        // Cut takes them from the first; undo brings them back.
        first->editActions().action(DesignerEditActions::Cut)->trigger();
        QCOMPARE(first->control()->page().Label(1).Caption, QStringLiteral("Order"));
        view(*first).undoStack().undo();
        QCOMPARE(first->control()->page().Label(1).Caption, QStringLiteral("Orders since a date"));
    }

    void inspectorAndObjectList()
    {
        auto w = window();
        w->start(QString(), example(QStringLiteral("customers.lrd")));
        // Choosing a row of the object list selects on the page.
        ObjectListPanel *list = w->objectList();
        QTRY_VERIFY(list->model().rowCount() > 10);
        list->table()->selectRow(2);
        QCOMPARE(view(*w).commands().selection().objects(), QList<ObjectRef>({{ObjectRef::Label, 3}}));
        QCOMPARE(w->inspector()->caption(), QStringLiteral("Label 3: Data field"));
        // The Left box takes millimetres (or a unit) and is one undo step.
        auto *left = w->inspector()->editor(QStringLiteral("Left"))->findChild<QLineEdit *>();
        QVERIFY(left);
        QCOMPARE(left->text(), QStringLiteral("50.26 mm"));
        left->setText(QStringLiteral("30"));
        left->setModified(true);
        emit left->editingFinished();
        QCOMPARE(w->control()->page().Label(3).Left, 1701.0f);
        QVERIFY(m_prompts->messages().isEmpty());
        left->setText(QStringLiteral("far left"));
        left->setModified(true);
        emit left->editingFinished();
        QVERIFY(m_prompts->messages().last().contains(QStringLiteral("is not a length")));
        QCOMPARE(w->control()->page().Label(3).Left, 1701.0f);
        view(*w).undoStack().undo();
        QCOMPARE(w->control()->page().Label(3).Left, 2850.0f);
        // The binding's field from the statement's fields.
        QCoreApplication::processEvents();
        auto *fieldBox = qobject_cast<QComboBox *>(w->inspector()->editor(QStringLiteral("Field")));
        QVERIFY(fieldBox);
        QCOMPARE(fieldBox->currentText(), QStringLiteral("Customers"));
        QVERIFY(fieldBox->findText(QStringLiteral("ActiveCustomers")) >= 0);
        w->inspector()->edit(QStringLiteral("Field"), QStringLiteral("ActiveCustomers"));
        QCOMPARE(w->control()->page().Label(3).Tag, QStringLiteral("DATA:Summary.ActiveCustomers"));
        // Selecting on the page chooses the row.
        view(*w).commands().selection().set({{ObjectRef::Label, 5}});
        QCOMPARE(list->table()->selectionModel()->selectedRows().size(), 1);
        QCOMPARE(list->table()->selectionModel()->selectedRows().first().row(), 4);
    }

    void inspectorPreviewsTheFirstValue()
    {
        auto w = window();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        w->start(QString(), example(QStringLiteral("customers.lrd")));
        PropertyInspector *inspector = w->inspector();
        // A fixed text has no value to show.
        view(*w).commands().selection().set({{ObjectRef::Label, 1}});
        QVERIFY(!inspector->preview());
        // "Since" of the first customer by name (Acme Tools, 1 March 2019).
        view(*w).commands().selection().set({{ObjectRef::Label, 16}});
        QCOMPARE(w->control()->page().Label(16).Tag, QStringLiteral("DATA:Customers.Since"));
        QLabel *preview = inspector->preview();
        QVERIFY(preview);
        QCOMPARE(preview->text(), QStringLiteral("2019-03-01"));
        // Typing a format shows it at once, before it is committed.
        auto *format = qobject_cast<QLineEdit *>(inspector->editor(QStringLiteral("Format")));
        QVERIFY(format);
        format->setFocus();
        QTest::keyClicks(format, QStringLiteral("dd/mm/yyyy"));
        QCOMPARE(preview->text(), QStringLiteral("01/03/2019"));
        QVERIFY(w->control()->page().Label(16).Format.isEmpty());
        QTest::keyClick(format, Qt::Key_Return);
        QCOMPARE(w->control()->page().Label(16).Format, QStringLiteral("dd/mm/yyyy"));
        QCoreApplication::processEvents();
        QCOMPARE(inspector->preview()->text(), QStringLiteral("01/03/2019"));

        // A formula whose first value is Null: the null text is what prints.
        const int formula = view(*w).commands().insertFormula(QStringLiteral("=IIf({Customers.Active}, Null, {Customers.Name})"));
        view(*w).commands().selection().set({{ObjectRef::Label, formula}});
        QCoreApplication::processEvents();
        QCOMPARE(inspector->preview()->text(), QStringLiteral("(prints nothing)"));
        auto *nullText = qobject_cast<QLineEdit *>(inspector->editor(QStringLiteral("NullText")));
        QVERIFY(nullText);
        nullText->setFocus();
        QTest::keyClicks(nullText, QStringLiteral("active"));
        QCOMPARE(inspector->preview()->text(), QStringLiteral("active"));
        QTest::qWait(20);
        w->grab().save(output(QStringLiteral("designer-first-value.png")));
        for (const auto &call : std::as_const(m_prompts->calls))
            QVERIFY2(call.kind != QLatin1String("msgBox"), qPrintable(call.text));
    }

    void previewPagesExportAndPrint()
    {
        auto w = window();
        w->start(QString(), example(QStringLiteral("daily-sales.lrd")));
        PreviewWindow &preview = w->preview();
        preview.setPaginate(true);
        w->showPreview();
        QVERIFY2(preview.lastError().isEmpty(), qPrintable(preview.lastError()));
        const int pages = preview.pageCount();
        QVERIFY(pages > 3);
        QCOMPARE(preview.currentPage(), 1);
        QCOMPARE(preview.findChild<QLabel *>(QStringLiteral("lblPageOf"))->text(), QStringLiteral("of %1").arg(pages));
        QTRY_COMPARE(preview.thumbnails()->count(), pages);
        // The page box, the thumbnails and the keys move through the pages.
        preview.findChild<QSpinBox *>(QStringLiteral("txtPage"))->setValue(3);
        QCOMPARE(preview.currentPage(), 3);
        preview.thumbnails()->setCurrentRow(1);
        QCOMPARE(preview.currentPage(), 2);
        // The page keys are the window's shortcuts: they work once it is active.
        preview.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&preview));
        QTest::keyClick(&preview, Qt::Key_PageDown);
        QCOMPARE(preview.currentPage(), 3);
        preview.showPage(pages + 5);
        QCOMPARE(preview.currentPage(), pages);
        // Zoom: a percentage typed, and fitting the width.
        ZoomBox *zoom = preview.zoomBox();
        zoom->lineEdit()->setText(QStringLiteral("150"));
        emit zoom->lineEdit()->editingFinished();
        QCOMPARE(preview.pageWidget()->zoom(), 150.0);
        preview.fit(PreviewWindow::Fit::Width);
        QVERIFY(preview.pageWidget()->zoom() < 150.0);

        // Export: the formats of the list, one file per page for pictures.
        QMenu *exportMenu = preview.findChild<QToolButton *>(QStringLiteral("cmdExport"))->menu();
        emit exportMenu->aboutToShow();
        QStringList offered;
        for (const QAction *a : exportMenu->actions())
            offered << a->text();
        QCOMPARE(offered, (QStringList{"PDF document (.pdf)...", "PNG image (.png)...", "SVG drawing (.svg)...", "Excel workbook (.xlsx)...",
                                       "Web page (.html)...", "CSV files of the lists' rows (.csv)..."}));
        const QString pdf = m_work.filePath(QStringLiteral("daily.pdf"));
        QVERIFY(preview.exportTo(0, pdf));
        QVERIFY(QFileInfo(pdf).size() > 1000);
        const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
        if (!tool.isEmpty()) {
            QProcess info;
            info.start(tool, {pdf});
            QVERIFY(info.waitForFinished(20000));
            QVERIFY(QString::fromUtf8(info.readAllStandardOutput()).contains(QRegularExpression(QStringLiteral("Pages:\\s+%1").arg(pages))));
        }
        const QString png = m_work.filePath(QStringLiteral("daily.png"));
        QVERIFY(preview.exportTo(1, png));
        QVERIFY(QFileInfo::exists(m_work.filePath(QStringLiteral("daily-1.png"))));
        QVERIFY(QFileInfo::exists(m_work.filePath(QStringLiteral("daily-%1.png").arg(pages))));
        QVERIFY(preview.exportTo(2, m_work.filePath(QStringLiteral("daily.svg"))));
        QVERIFY(QFileInfo::exists(m_work.filePath(QStringLiteral("daily-2.svg"))));
        // The workbook and the web page are one file each; CSV one per statement.
        QVERIFY(preview.exportTo(3, m_work.filePath(QStringLiteral("daily.xlsx"))));
        QVERIFY(QFileInfo(m_work.filePath(QStringLiteral("daily.xlsx"))).size() > 1000);
        QVERIFY(preview.exportTo(4, m_work.filePath(QStringLiteral("daily.html"))));
        QVERIFY(QFileInfo(m_work.filePath(QStringLiteral("daily.html"))).size() > 1000);
        QVERIFY(preview.exportTo(5, m_work.filePath(QStringLiteral("daily.csv"))));
        QVERIFY(QFileInfo::exists(m_work.filePath(QStringLiteral("daily-Days.csv"))));
        QVERIFY(!QFileInfo::exists(m_work.filePath(QStringLiteral("daily.csv"))));
        // Cancel in the export's progress stops it: the workbook written
        // before stays as it was, with nothing beside it.
        QFile workbook(m_work.filePath(QStringLiteral("daily.xlsx")));
        QVERIFY(workbook.open(QIODevice::ReadOnly));
        const QByteArray before = workbook.readAll();
        workbook.close();
        const QStringList files = QDir(m_work.path()).entryList(QDir::Files);
        QTimer::singleShot(0, &preview, [&preview] {
            if (auto *progress = preview.findChild<QProgressDialog *>(QStringLiteral("dlgProgress")))
                progress->cancel();
        });
        QVERIFY(!preview.exportTo(3, workbook.fileName()));
        QCOMPARE(preview.lastError(), QStringLiteral("Cancelled"));
        QVERIFY(workbook.open(QIODevice::ReadOnly));
        QCOMPARE(workbook.readAll(), before);
        QCOMPARE(QDir(m_work.path()).entryList(QDir::Files), files);
        // Export asks where (with the format's filter), then writes.
        m_prompts->answer(m_work.filePath(QStringLiteral("asked")));
        preview.exportAs(0);
        QCOMPARE(m_prompts->calls.last().filter, QStringLiteral("PDF document (*.pdf)|*.pdf"));
        QVERIFY(QFileInfo::exists(m_work.filePath(QStringLiteral("asked.pdf"))));

        // Printing pages 2 and 3 (the printer writes a PDF here).
        QPrinter printer(QPrinter::HighResolution);
        const QString printed = m_work.filePath(QStringLiteral("printed.pdf"));
        printer.setOutputFileName(printed);
        QVERIFY(preview.printTo(&printer, 2, 3));
        QVERIFY(QFileInfo(printed).size() > 1000);
        if (!tool.isEmpty()) {
            QProcess info;
            info.start(tool, {printed});
            QVERIFY(info.waitForFinished(20000));
            QVERIFY(QString::fromUtf8(info.readAllStandardOutput()).contains(QRegularExpression(QStringLiteral("Pages:\\s+2\\b"))));
        }

        // A change of the design, then Refresh: the change is on the pages.
        w->control()->page().Label(1).Caption = QStringLiteral("Takings of 2024");
        w->control()->page().notifyLabelChanged(1);
        QVERIFY(preview.refresh());
        const QImage first = PreviewPageWidget::render(preview.page(1), 11907, 16839.9, 600);
        QVERIFY(!first.isNull());
        // One page when pages are off and the layout does not ask for them,
        // as the control shows it.
        w->control()->page().extension().Paginate = false;
        preview.setPaginate(false);
        QVERIFY(preview.refresh());
        QCOMPARE(preview.pageCount(), 1);
    }

    void examplesAreReadableOnThePage()
    {
        const QStringList packages{QStringLiteral("customers.lrd"), QStringLiteral("daily-sales.lrd"), QStringLiteral("orders-since.lrd"),
                                   QStringLiteral("sales-by-region.lrd")};
        for (const QString &name : packages) {
            auto w = window();
            w->start(QString(), example(name));
            QCoreApplication::processEvents();
            DesignerView &v = view(*w);
            const LayoutPage &page = w->control()->page();
            // For a look: the page area of each example.
            v.grab().save(output(QStringLiteral("designer-%1.png").arg(QFileInfo(name).completeBaseName())));
            for (int i = 1; i <= page.labelCount(); ++i) {
                PageObjectItem *item = v.itemFor({ObjectRef::Label, i});
                QVERIFY(item);
                if (!page.Label(i).Tag.startsWith(QLatin1String("DATA:")))
                    continue;
                // A data field shows its whole field name at least.
                const QString shown = item->shownText();
                QVERIFY2(!shown.contains(QChar(0x2026)), qPrintable(QStringLiteral("%1: label %2 shows \"%3\"").arg(name).arg(i).arg(shown)));
                // No fixed text lies over it.
                for (QGraphicsItem *other : v.scene()->items(item->sceneBoundingRect()))
                    if (other->type() == PageObjectItem::Type && other != item) {
                        const ObjectRef o = static_cast<PageObjectItem *>(other)->object();
                        if (o.kind == ObjectRef::Label && !page.Label(o.index).Tag.startsWith(QLatin1String("DATA:"))
                            && !page.Label(o.index).Tag.startsWith(QLatin1String("FORMULA:")))
                            QVERIFY2(other->zValue() < item->zValue(), qPrintable(QStringLiteral("%1: label %2 covers label %3").arg(name).arg(o.index).arg(i)));
                    }
            }
        }
    }

    void windowsLookAsReviewed()
    {
        auto w = window();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        w->start(QString(), example(QStringLiteral("customers.lrd")));
        view(*w).commands().selection().set({{ObjectRef::Label, 7}});
        w->statusBar()->clearMessage();
        QTest::qWait(20);
        compareWithReference(w->grab().toImage(), QStringLiteral("designer-window.png"));
        compareWithReference(w->findChild<QDockWidget *>(QStringLiteral("dockProperties"))->grab().toImage(),
                             QStringLiteral("designer-inspector.png"));
        PreviewWindow &preview = w->preview();
        preview.resize(900, 800);
        w->showPreview();
        preview.findChild<QLabel *>(QStringLiteral("lblPreviewStatus"))->clear();
        QTest::qWait(20);
        compareWithReference(preview.grab().toImage(), QStringLiteral("preview-window.png"));
    }

    void desktopEntryAndMimeType()
    {
        const QString folder = QStringLiteral(KRML_SOURCE_DIR "/apps/designer/");
        QSettings entry(folder + QStringLiteral("krml-reportdesigner.desktop"), QSettings::IniFormat);
        entry.beginGroup(QStringLiteral("Desktop Entry"));
        QCOMPARE(entry.value(QStringLiteral("Type")).toString(), QStringLiteral("Application"));
        QVERIFY(entry.value(QStringLiteral("Exec")).toString().contains(QStringLiteral("reportdesigner %f")));
        QCOMPARE(entry.value(QStringLiteral("Icon")).toString(), QStringLiteral("krml-reportdesigner"));
        QVERIFY(entry.value(QStringLiteral("MimeType")).toStringList().join(QLatin1Char(';')).contains(QStringLiteral("application/x-krml-report-layout")));
        QVERIFY(QFileInfo::exists(QStringLiteral(KRML_SOURCE_DIR "/src/widgets/icons/krml-reportdesigner.svg")));
        // The MIME type as the desktop's database reads it: *.lrd, a kind of zip.
        QTemporaryDir data;
        QDir().mkpath(data.filePath(QStringLiteral("mime/packages")));
        QVERIFY(QFile::copy(folder + QStringLiteral("krml-reportdesigner.xml"), data.filePath(QStringLiteral("mime/packages/krml-reportdesigner.xml"))));
        QProcess update;
        const QString tool = QStandardPaths::findExecutable(QStringLiteral("update-mime-database"));
        if (tool.isEmpty())
            QSKIP("update-mime-database (shared-mime-info) is not installed");
        update.start(tool, {data.filePath(QStringLiteral("mime"))});
        QVERIFY(update.waitForFinished(30000));
        QCOMPARE(update.exitCode(), 0);
        QFile globs(data.filePath(QStringLiteral("mime/globs2")));
        QVERIFY(globs.open(QIODevice::ReadOnly));
        QVERIFY(globs.readAll().contains("application/x-krml-report-layout:*.lrd"));
        QFile subclasses(data.filePath(QStringLiteral("mime/subclasses")));
        QVERIFY(subclasses.open(QIODevice::ReadOnly));
        QVERIFY(subclasses.readAll().contains("application/x-krml-report-layout application/zip"));
    }
};

QTEST_MAIN(TestDesignerApp)
#include "tst_designerapp.moc"

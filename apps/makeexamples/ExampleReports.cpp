#include "ExampleReports.h"

#include "ConsolePrompts.h"
#include "FileService.h"
#include "LabelTag.h"
#include "LayoutPackage.h"
#include "LayoutPage.h"
#include "ModuleState.h"
#include "ReportError.h"
#include "ReportSqlFile.h"
#include "SqliteEngine.h"
#include "TextReader.h"

#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

namespace KRML_ReportGen {

namespace {

const QString kConnection = QStringLiteral("Provider=SQLite;Data Source=sales.db");

FontDescription font(float size, bool bold = false, const QString &name = QStringLiteral("Arial"))
{
    FontDescription f;
    f.name = name;
    f.size = size;
    f.bold = bold;
    return f;
}

int text(LayoutPage &page, float left, float top, float width, float height, const QString &caption, const FontDescription &f,
         qint16 alignment = 0)
{
    const int i = page.createLabel();
    LayoutLabel &l = page.Label(i);
    l.Left = left;
    l.Top = top;
    l.Width = width;
    l.Height = height;
    l.Caption = caption;
    l.Font = f;
    l.ForeColor = 0x000000;
    l.Alignment = alignment;
    l.Visible = true;
    return i;
}

int heading(LayoutPage &page, float left, float top, float width, const QString &caption, qint16 alignment = 0)
{
    const int i = text(page, left, top, width, 300, caption, font(9, true), alignment);
    page.Label(i).BackColor = 0xE6D8CC; // a light steel blue
    page.Label(i).BorderStyle = 1;
    return i;
}

int field(LayoutPage &page, float left, float top, float width, const QString &statement, const QString &name,
          qint16 alignment = 0)
{
    const int i = text(page, left, top, width, 270, statement + QLatin1Char('.') + name, font(9), alignment);
    page.Label(i).Tag = LabelTag::dataTag(statement, name);
    return i;
}

int formula(LayoutPage &page, float left, float top, float width, const QString &formulaText, qint16 alignment = 0)
{
    const int i = text(page, left, top, width, 270, formulaText, font(9), alignment);
    page.Label(i).Tag = LabelTag::formulaTag(formulaText);
    return i;
}

// The page number in the footer zone (below the page body's end, on every page).
void pageNumber(LayoutPage &page, float top = 16350)
{
    text(page, 850, top, 9900, 300, QStringLiteral("Page [Page] of [Pages]"), font(8), 1);
}

QImage logo()
{
    QImage img(160, 60, QImage::Format_RGB32);
    img.setDotsPerMeterX(3780);
    img.setDotsPerMeterY(3780);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0x1F, 0x4E, 0x9A));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(2, 2, 156, 56), 10, 10);
    p.setPen(Qt::white);
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(30);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRectF(2, 2, 156, 56), Qt::AlignCenter, QStringLiteral("KRML"));
    p.end();
    return img;
}

void addPicture(LayoutPage &page, float left, float top, const QImage &image)
{
    const int i = page.createPic();
    LayoutPicture &p = page.Pic(i);
    p.Left = left;
    p.Top = top;
    p.Width = image.width() * 15.0f;
    p.Height = image.height() * 15.0f;
    p.Picture = image;
    p.Visible = true;
}

// Writes the report's working files and the page as one package.
void save(FileService &files, TempNameService &tempNames, const LayoutPage &layout, const ReportDefinition &definition,
          const QString &path)
{
    QTemporaryDir app;
    ModuleState &state = ModuleState::current();
    state.reset();
    state.setRdAppPath(app.path());
    files.createFolder(state.tempFolder());
    ReportSqlFile::write(files, ReportSqlFile::workingFile(), definition);
    state.data().RDDataConnection()->setConnectionString(kConnection);

    ConsolePrompts prompts(stderr, false);
    prompts.yesNoAnswer = MsgBoxStyle::Yes; // keep the connection in the package
    LayoutPage &page = const_cast<LayoutPage &>(layout);
    LayoutPackage package(files, tempNames, prompts, page);
    if (package.saveLayoutTo(path) != LayoutPackage::Result::Done)
        throw ReportError(ReportError::PathFileAccessError, QStringLiteral("The example %1 could not be written: %2").arg(path, prompts.messages.join(QLatin1Char(' '))));
    state.reset();
}

} // namespace

ExampleReports::ExampleReports(FileService &files, TempNameService &tempNames) : m_files(files), m_tempNames(tempNames) {}

void ExampleReports::buildDatabase(const QString &script, const QString &databasePath)
{
    if (QFile::exists(databasePath) && !QFile::remove(databasePath))
        throw ReportError(ReportError::PathFileAccessError, QStringLiteral("Cannot replace %1").arg(databasePath));
    const QString sql = QString::fromUtf8(m_files.readBytes(script));
    SqliteEngine::create(databasePath)->runScript(sql);
}

void ExampleReports::buildPackages(const QString &folder)
{
    salesByRegion(folder + QStringLiteral("/sales-by-region.lrd"));
    customerList(folder + QStringLiteral("/customers.lrd"));
    ordersSince(folder + QStringLiteral("/orders-since.lrd"));
    dailySales(folder + QStringLiteral("/daily-sales.lrd"));
    orderTotals(folder + QStringLiteral("/order-totals.lrd"));
}

void ExampleReports::dailySales(const QString &path)
{
    ReportDefinition d;
    d.addStatement(QStringLiteral("Days"),
                   QStringLiteral("WITH RECURSIVE Calendar(Day) AS (\r\n"
                                  "  SELECT '2024-01-01' UNION ALL\r\n"
                                  "  SELECT date(Day, '+1 day') FROM Calendar WHERE Day < '2024-12-31')\r\n"
                                  "SELECT c.Day, COUNT(o.OrderID) AS Orders, COALESCE(SUM(o.Total), 0) AS Total\r\n"
                                  "FROM Calendar c LEFT JOIN Orders o ON o.OrderDate = c.Day\r\n"
                                  "GROUP BY c.Day ORDER BY c.Day"));
    // A year of days does not fit one page: the layout asks for pages. The
    // title and headings above the lists repeat on every page.
    LayoutPage page;
    page.extension().Paginate = true;
    text(page, 850, 600, 9000, 500, QStringLiteral("Daily sales, 2024"), font(18, true));
    pageNumber(page);
    addPicture(page, 8600, 500, logo());
    heading(page, 850, 1700, 2000, QStringLiteral("Day"));
    heading(page, 2850, 1700, 1200, QStringLiteral("Orders"), 1);
    heading(page, 4050, 1700, 1800, QStringLiteral("Total"), 1);
    field(page, 850, 2050, 2000, QStringLiteral("Days"), QStringLiteral("Day"));
    field(page, 2850, 2050, 1200, QStringLiteral("Days"), QStringLiteral("Orders"), 1);
    field(page, 4050, 2050, 1800, QStringLiteral("Days"), QStringLiteral("Total"), 1);
    // Inside the lists' range: on the last page it follows the last day.
    text(page, 850, 2200, 9000, 300, QStringLiteral("End of the year. Days without orders show 0."),
         font(8, false, QStringLiteral("Times New Roman")));
    save(m_files, m_tempNames, page, d, path);
}

void ExampleReports::orderTotals(const QString &path)
{
    ReportDefinition d;
    d.addStatement(QStringLiteral("Orders"),
                   QStringLiteral("SELECT o.OrderID, o.OrderDate, c.Name AS Customer, o.Qty, o.Total, o.Paid\r\n"
                                  "FROM Orders o JOIN Customers c ON c.CustomerID = o.CustomerID\r\nORDER BY o.OrderID"));
    // Formulas that begin with "=" are expressions: per-row values, a
    // percentage of the total, a totals line after the last order and a
    // subtotal per page; the labels' formats show money, dates and yes/no.
    LayoutPage page;
    LayoutExtension &ext = page.extension();
    ext.Paginate = true;
    ext.BottomMargin = 1100; // the body ends at 15740
    ext.Locale = QStringLiteral("en_IE");
    ext.TaxRate = QStringLiteral("20");
    text(page, 850, 600, 7000, 500, QStringLiteral("Order totals"), font(20, true));
    text(page, 850, 1150, 7500, 300, QStringLiteral("Totals include 20 % tax; net is the total without it."), font(9));
    addPicture(page, 8600, 600, logo());
    const float top = 1700, rows = 2050;
    heading(page, 850, top, 800, QStringLiteral("Order"));
    heading(page, 1650, top, 1300, QStringLiteral("Date"));
    heading(page, 2950, top, 2600, QStringLiteral("Customer"));
    heading(page, 5550, top, 600, QStringLiteral("Qty"), 1);
    heading(page, 6150, top, 1500, QStringLiteral("Total"), 1);
    heading(page, 7650, top, 1400, QStringLiteral("Net"), 1);
    heading(page, 9050, top, 900, QStringLiteral("Share"), 1);
    heading(page, 9950, top, 800, QStringLiteral("Paid"), 2);
    field(page, 850, rows, 800, QStringLiteral("Orders"), QStringLiteral("OrderID"));
    const int date = field(page, 1650, rows, 1300, QStringLiteral("Orders"), QStringLiteral("OrderDate"));
    page.Label(date).Format = QStringLiteral("dd/mm/yyyy");
    field(page, 2950, rows, 2600, QStringLiteral("Orders"), QStringLiteral("Customer"));
    field(page, 5550, rows, 600, QStringLiteral("Orders"), QStringLiteral("Qty"), 1);
    const int total = field(page, 6150, rows, 1500, QStringLiteral("Orders"), QStringLiteral("Total"), 1);
    page.Label(total).Format = QStringLiteral("Currency");
    const int net = formula(page, 7650, rows, 1400, QStringLiteral("=MinusTax({Orders.Total})"), 1);
    page.Label(net).Format = QStringLiteral("#,##0.00");
    const int share = formula(page, 9050, rows, 900, QStringLiteral("={Orders.Total} / Sum({Orders.Total})"), 1);
    page.Label(share).Format = QStringLiteral("0.0%");
    const int paid = field(page, 9950, rows, 800, QStringLiteral("Orders"), QStringLiteral("Paid"), 2);
    page.Label(paid).Format = QStringLiteral("Yes/No");
    // Inside the lists: after the last order, once.
    const int count = formula(page, 850, rows + 100, 4700, QStringLiteral("=\"Orders: \" & Count(*) & \", pieces: \" & Sum({Orders.Qty})"));
    page.Label(count).Font = font(9, true);
    const int sum = formula(page, 6150, rows + 100, 1500, QStringLiteral("=Sum({Orders.Total})"), 1);
    page.Label(sum).Font = font(9, true);
    page.Label(sum).BorderStyle = 1;
    page.Label(sum).Format = QStringLiteral("Currency");
    // Footer: the page's own subtotal.
    const int pageTotal = formula(page, 3950, 15900, 3700, QStringLiteral("=\"Page total: \" & Format(PageSum({Orders.Total}), \"#,##0.00\")"), 1);
    page.Label(pageTotal).Font = font(9, true);
    pageNumber(page);
    save(m_files, m_tempNames, page, d, path);
}

void ExampleReports::salesByRegion(const QString &path)
{
    ReportDefinition d;
    ReportDefinition::Lookup region{1, QStringLiteral("RegionName"), QStringLiteral("RegionID"),
                                    QStringLiteral("SELECT * FROM Regions ORDER BY RegionID")};
    d.addParameter(QStringLiteral("Region(Lookup)"), &region);
    d.addStatement(QStringLiteral("Region"),
                   QStringLiteral("SELECT RegionName, Manager FROM Regions\r\nWHERE RegionID = Region(Lookup)"));
    d.addStatement(QStringLiteral("RegionOrders"),
                   QStringLiteral("SELECT o.OrderID, o.OrderDate, c.Name AS Customer, o.Qty, o.Total, o.Paid\r\n"
                                  "FROM Orders o JOIN Customers c ON c.CustomerID = o.CustomerID\r\n"
                                  "WHERE c.RegionID = Region(Lookup)\r\nORDER BY o.OrderDate"));

    // Label order matters: the first data list of a run chooses the region
    // (it tries the lookup's rows until the region has orders), and every
    // later list uses that region. So the order lists come first.
    //
    // The title and the column headings lie above the order lists and
    // repeat on every page; the region, its manager and the page number
    // are in the footer zone below the page body (a wider bottom margin).
    LayoutPage page;
    page.extension().Paginate = true;
    page.extension().BottomMargin = 1100; // the body ends at 15740
    const float top = 1700, rows = 2050, foot = 15900;
    field(page, 850, rows, 900, QStringLiteral("RegionOrders"), QStringLiteral("OrderID"));
    field(page, 1750, rows, 1400, QStringLiteral("RegionOrders"), QStringLiteral("OrderDate"));
    field(page, 3150, rows, 2900, QStringLiteral("RegionOrders"), QStringLiteral("Customer"));
    field(page, 6050, rows, 700, QStringLiteral("RegionOrders"), QStringLiteral("Qty"), 1);
    field(page, 6750, rows, 1500, QStringLiteral("RegionOrders"), QStringLiteral("Total"), 1);
    formula(page, 8250, rows, 1500, QStringLiteral("{RegionOrders.Total}/{RegionOrders.Qty}"), 1);
    field(page, 9750, rows, 900, QStringLiteral("RegionOrders"), QStringLiteral("Paid"), 2);
    heading(page, 850, top, 900, QStringLiteral("Order"));
    heading(page, 1750, top, 1400, QStringLiteral("Date"));
    heading(page, 3150, top, 2900, QStringLiteral("Customer"));
    heading(page, 6050, top, 700, QStringLiteral("Qty"), 1);
    heading(page, 6750, top, 1500, QStringLiteral("Total"), 1);
    heading(page, 8250, top, 1500, QStringLiteral("Unit price"), 1);
    heading(page, 9750, top, 900, QStringLiteral("Paid"), 2);
    text(page, 850, 600, 7000, 500, QStringLiteral("Sales by Region"), font(20, true));
    text(page, 850, foot, 1300, 300, QStringLiteral("Region:"), font(10, true));
    const int name = field(page, 2200, foot, 3000, QStringLiteral("Region"), QStringLiteral("RegionName"));
    page.Label(name).Font = font(10, true);
    text(page, 5300, foot, 1300, 300, QStringLiteral("Manager:"), font(10));
    const int manager = field(page, 6600, foot, 3000, QStringLiteral("Region"), QStringLiteral("Manager"));
    page.Label(manager).Font = font(10);
    pageNumber(page);
    addPicture(page, 8600, 600, logo());
    // Designed just inside the list: the overlap rule moves it below the rows.
    text(page, 850, rows + 100, 9800, 300,
         QStringLiteral("Totals include tax. Unit price = Total / Qty. Figures in EUR."), font(8, false, QStringLiteral("Times New Roman")));
    save(m_files, m_tempNames, page, d, path);
}

void ExampleReports::customerList(const QString &path)
{
    ReportDefinition d;
    d.addStatement(QStringLiteral("Customers"),
                   QStringLiteral("SELECT c.Name, r.RegionName, c.Email, c.Active, c.Since\r\n"
                                  "FROM Customers c LEFT JOIN Regions r ON r.RegionID = c.RegionID\r\nORDER BY c.Name"));
    d.addStatement(QStringLiteral("Summary"),
                   QStringLiteral("SELECT COUNT(*) AS Customers, SUM(Active) AS ActiveCustomers FROM Customers"));

    // The counts are data lists too: they go to the footer zone, so that
    // the headings above the customer lists repeat on every page.
    LayoutPage page;
    page.extension().Paginate = true;
    page.extension().BottomMargin = 1100; // the body ends at 15740
    text(page, 850, 600, 7000, 500, QStringLiteral("Customer List"), font(20, true));
    addPicture(page, 8600, 600, logo());
    const float foot = 15900;
    text(page, 850, foot, 2000, 300, QStringLiteral("Customers in all:"), font(9, true));
    const int count = field(page, 2850, foot, 700, QStringLiteral("Summary"), QStringLiteral("Customers"), 1);
    page.Label(count).BorderStyle = 1;
    text(page, 3800, foot, 1500, 300, QStringLiteral("of them active:"), font(9, true));
    field(page, 5300, foot, 700, QStringLiteral("Summary"), QStringLiteral("ActiveCustomers"), 1);
    pageNumber(page);
    const float top = 1700, rows = 2050;
    heading(page, 850, top, 2900, QStringLiteral("Customer"));
    heading(page, 3750, top, 1800, QStringLiteral("Region"));
    heading(page, 5550, top, 3000, QStringLiteral("E-mail"));
    heading(page, 8550, top, 900, QStringLiteral("Active"), 2);
    heading(page, 9450, top, 1300, QStringLiteral("Since"));
    const int name = field(page, 850, rows, 2900, QStringLiteral("Customers"), QStringLiteral("Name"));
    page.Label(name).BackColor = 0xF5F0EB;
    field(page, 3750, rows, 1800, QStringLiteral("Customers"), QStringLiteral("RegionName"));
    field(page, 5550, rows, 3000, QStringLiteral("Customers"), QStringLiteral("Email"));
    field(page, 8550, rows, 900, QStringLiteral("Customers"), QStringLiteral("Active"), 2);
    field(page, 9450, rows, 1300, QStringLiteral("Customers"), QStringLiteral("Since"));
    text(page, 850, rows + 50, 9900, 300, QStringLiteral("Customers without an e-mail address are reached by post."),
         font(8, false, QStringLiteral("Times New Roman")));
    save(m_files, m_tempNames, page, d, path);
}

void ExampleReports::ordersSince(const QString &path)
{
    ReportDefinition d;
    d.addParameter(QStringLiteral("Start(Date)"));
    d.addStatement(QStringLiteral("Recent"),
                   QStringLiteral("SELECT OrderID, OrderDate, Total, Note FROM Orders\r\nWHERE OrderDate >= Start(Date)\r\nORDER BY OrderDate"));
    LayoutPage page;
    page.extension().Paginate = true;
    text(page, 850, 600, 9000, 500, QStringLiteral("Orders since a date"), font(18, true, QStringLiteral("Times New Roman")));
    text(page, 850, 1200, 9000, 300, QStringLiteral("Give the first day with --param Start=YYYY-MM-DD."), font(9));
    heading(page, 850, 1700, 1000, QStringLiteral("Order"));
    heading(page, 1850, 1700, 1500, QStringLiteral("Date"));
    heading(page, 3350, 1700, 1500, QStringLiteral("Total"), 1);
    heading(page, 5050, 1700, 3500, QStringLiteral("Note"));
    field(page, 850, 2050, 1000, QStringLiteral("Recent"), QStringLiteral("OrderID"));
    field(page, 1850, 2050, 1500, QStringLiteral("Recent"), QStringLiteral("OrderDate"));
    field(page, 3350, 2050, 1500, QStringLiteral("Recent"), QStringLiteral("Total"), 1);
    const int note = field(page, 5050, 2050, 3500, QStringLiteral("Recent"), QStringLiteral("Note"));
    page.Label(note).Font.italic = true;
    pageNumber(page);
    save(m_files, m_tempNames, page, d, path);
}

} // namespace KRML_ReportGen

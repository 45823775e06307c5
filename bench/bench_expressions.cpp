// Formulas of the expression language in a paginated report: what three
// per-row expressions and one aggregate cost against the same values
// worked out by the statement itself.
//
//   bench_expressions ROWS [RUNS]
//
// Both layouts print the same 7 columns into a paginated PDF. One works
// out {Total} * {Qty}, UCase({Customer}) and Round({Total} / 3, 2) on every
// row and Sum({Total}) once, as a totals line after the lists; the other
// reads the three from a statement that computes them, beside a fixed
// closing line. Prints the median times of both and their ratio. The exit
// code is 2 when the expressions add more than 10 %.

#include "BenchDatabase.h"
#include "HeadlessEnvironment.h"
#include "LabelTag.h"
#include "LayoutPage.h"
#include "LocalFileService.h"
#include "PdfSurface.h"
#include "QueryLoader.h"
#include "ReportGenerator.h"
#include "ScriptedPrompts.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace KRML_ReportGen;

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void buildLayout(LayoutPage &page, bool expressions)
{
    const FontDescription body{QStringLiteral("Arial"), 8};
    const auto add = [&](float left, float top, const QString &caption, const QString &tag) {
        const int l = page.createLabel();
        page.Label(l).Left = left;
        page.Label(l).Top = top;
        page.Label(l).Height = 300;
        page.Label(l).Width = 1400;
        page.Label(l).Caption = caption;
        page.Label(l).Tag = tag;
        page.Label(l).Font = body;
        page.Label(l).Visible = true;
    };
    const QString orders = QStringLiteral("Orders");
    add(600, 500, QStringLiteral("Orders"), QString());
    add(600, 16400, QStringLiteral("Page [Page] of [Pages]"), QString());
    const char *fields[] = {"OrderID", "Customer", "Qty", "Total"};
    for (int i = 0; i < 4; ++i)
        add(600 + i * 1500, 1800, QString(), LabelTag::dataTag(expressions ? orders : QStringLiteral("Computed"), QLatin1String(fields[i])));
    if (expressions) {
        for (const char *f : {"={Orders.Total} * {Orders.Qty}", "=UCase({Orders.Customer})", "=Round({Orders.Total} / 3, 2)"}) {
            const QString text = QString::fromLatin1(f);
            add(600 + (page.labelCount() - 4) * 1500, 1800, text, LabelTag::formulaTag(text));
        }
        const QString total = QStringLiteral("=\"Total \" & Sum({Orders.Total})");
        add(600, 2000, total, LabelTag::formulaTag(total));
    } else {
        for (const char *f : {"Amount", "Shout", "Third"})
            add(600 + (page.labelCount() - 4) * 1500, 1800, QString(), LabelTag::dataTag(QStringLiteral("Computed"), QLatin1String(f)));
        add(600, 2000, QStringLiteral("End of the order list"), QString());
    }
}

} // namespace

int main(int argc, char **argv)
{
    HeadlessEnvironment::prepare();
    QGuiApplication app(argc, argv);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 1000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 3;

    QTemporaryDir dir;
    BenchDatabase::prepareFolder(dir.path(), rows);
    LocalFileService files;
    // The same values worked out by the statement.
    files.writeBytes(dir.filePath(QStringLiteral("Temp/SQL.mtq")),
                     QByteArray("marlowentallymasterfile\r\nnoofparams=0\r\n##########\r\n2\r\ntablename=Orders\r\n")
                         + BenchDatabase::statement()
                         + "\r\ntablename=Computed\r\nSELECT OrderID, Customer, Qty, Total, Total * Qty AS Amount, UCase(Customer) AS Shout,"
                           " Round(Total / 3, 2) AS Third FROM Orders ORDER BY OrderID\r\ntablename=endreport");
    ScriptedPrompts prompts;
    QueryLoader loader(files, prompts);

    const auto measure = [&](bool expressions) {
        LayoutPage page;
        buildLayout(page, expressions);
        ReportGenerator generator(page, loader);
        generator.setPaginate(true);
        std::vector<double> times;
        QElapsedTimer t;
        for (int i = 0; i < runs; ++i) {
            PdfSurface out(dir.filePath(QStringLiteral("bench.pdf")));
            t.start();
            generator.GenerateOutput(out);
            times.push_back(t.nsecsElapsed() / 1e6);
        }
        return median(times);
    };
    // Alternately, so that a disturbance of the machine hits both alike.
    std::vector<double> plain, withExpressions;
    for (int i = 0; i < 2; ++i) {
        plain.push_back(measure(false));
        withExpressions.push_back(measure(true));
    }
    const double a = median(plain), b = median(withExpressions);
    std::printf("%6d rows: computed by the statement %.0f ms, by 3 expressions + a total %.0f ms (%+.1f %%, budget +10 %%)\n",
                rows, a, b, (b / a - 1) * 100);
    return b <= 1.1 * a ? 0 : 2;
}

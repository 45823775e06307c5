#include "ZoomBox.h"

#include <QLineEdit>
#include <QRegularExpression>

namespace KRML_ReportGen {

namespace {
const QString kFitPage = QStringLiteral("Fit Page");
const QString kFitWidth = QStringLiteral("Fit Width");
} // namespace

ZoomBox::ZoomBox(QWidget *parent) : QComboBox(parent)
{
    setObjectName(QStringLiteral("cmbZoom"));
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setToolTip(QStringLiteral("Zoom"));
    addItems({kFitPage, kFitWidth});
    for (int p : {50, 75, 100, 125, 150, 200, 300, 400})
        addItem(QStringLiteral("%1 %").arg(p));
    setMinimumContentsLength(8);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    connect(this, &QComboBox::textActivated, this, &ZoomBox::choose);
    connect(lineEdit(), &QLineEdit::editingFinished, this, [this] { choose(lineEdit()->text()); });
    showZoom(100);
}

std::optional<double> ZoomBox::parsePercent(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^\\s*([0-9]+(?:[.,][0-9]+)?)\\s*%?\\s*$"));
    const auto m = form.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    bool ok = false;
    const double v = m.captured(1).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    if (!ok || v <= 0)
        return std::nullopt;
    return v;
}

void ZoomBox::choose(const QString &text)
{
    if (text == kFitPage) {
        emit fitPageRequested();
    } else if (text == kFitWidth) {
        emit fitWidthRequested();
    } else if (const auto percent = parsePercent(text)) {
        emit zoomRequested(*percent);
    } else {
        showZoom(m_shown); // not a zoom: back to the one in effect
    }
}

void ZoomBox::showZoom(double percent)
{
    m_shown = percent;
    const QString text = QStringLiteral("%1 %").arg(qRound(percent));
    const QSignalBlocker block(this);
    setCurrentIndex(-1);
    setEditText(text);
}

} // namespace KRML_ReportGen

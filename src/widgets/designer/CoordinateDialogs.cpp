#include "CoordinateDialogs.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

namespace KRML_ReportGen {

CoordinateDialog::CoordinateDialog(Kind kind, const QStringList &initial, Go go, QWidget *parent)
    : QDialog(parent), m_kind(kind), m_go(std::move(go))
{
    const bool box = kind == BoxCreator;
    setWindowTitle(box ? QStringLiteral("Box Creator") : QStringLiteral("Coordinate Positioning"));
    setObjectName(box ? QStringLiteral("frmBoxCoordinate") : QStringLiteral("frmCoordinate"));
    auto *form = new QFormLayout(this);
    const QStringList labels = box ? QStringList{"X1", "Y1", "X2", "Y2"} : QStringList{"X", "Y"};
    for (int i = 0; i < labels.size(); ++i) {
        auto *e = new QLineEdit(i < initial.size() ? initial[i] : QStringLiteral("0"), this);
        e->setObjectName(QStringLiteral("txt") + labels[i]);
        form->addRow(labels[i], e);
        m_fields << e;
    }
    auto *button = new QPushButton(box ? QStringLiteral("Create") : QStringLiteral("Move"), this);
    button->setObjectName(QStringLiteral("cmdGo"));
    button->setDefault(true);
    form->addRow(button);
    connect(button, &QPushButton::clicked, this, &CoordinateDialog::go);
}

void CoordinateDialog::go()
{
    QStringList values;
    for (QLineEdit *e : m_fields)
        values << e->text();
    if (m_go(values) && m_kind == BoxCreator)
        accept();
}

} // namespace KRML_ReportGen

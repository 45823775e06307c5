#pragma once

#include <QDialog>
#include <functional>

class QLineEdit;

namespace KRML_ReportGen {

// "Coordinate Positioning" (X, Y and "Move") and "Box Creator" (X1, Y1,
// X2, Y2 and "Create"): typed twips handed to a command. "Move" keeps the
// dialog open; "Create" closes it once the box is drawn.
class CoordinateDialog : public QDialog
{
    Q_OBJECT
public:
    using Go = std::function<bool(const QStringList &values)>;
    enum Kind { Positioning, BoxCreator };

    CoordinateDialog(Kind kind, const QStringList &initial, Go go, QWidget *parent = nullptr);
    QLineEdit *field(int i) const { return m_fields[i]; }
    void go();

private:
    Kind m_kind;
    QList<QLineEdit *> m_fields;
    Go m_go;
};

} // namespace KRML_ReportGen

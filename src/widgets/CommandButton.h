#pragma once

#include <QPushButton>

namespace KRML_ReportGen {

// A push button of the control's windows: named as the window's own
// element, and not taking Enter for itself (the windows' lists and text
// boxes use it).
class CommandButton
{
public:
    static QPushButton *make(const QString &caption, const QString &name, QWidget *parent)
    {
        auto *b = new QPushButton(caption, parent);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    }
};

} // namespace KRML_ReportGen

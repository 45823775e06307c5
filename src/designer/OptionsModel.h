#pragma once

#include <QString>
#include <optional>

namespace KRML_ReportGen {

class UserPrompts;

// The "Options" dialog without its window: grid size (mm), page height and
// width (shown in mm, kept in twips) and the database path; "&OK" checks
// the entries in order and gives the control's new values.
class OptionsModel
{
public:
    static QString caption() { return QStringLiteral("Options"); }
    static QString gridMessage() { return QStringLiteral("Please enter the grid size"); }
    static QString heightMessage() { return QStringLiteral("Please enter the page height"); }
    static QString widthMessage() { return QStringLiteral("Please enter the page width"); }
    static QString gridTip() { return QStringLiteral("Please enter the grid size. Default is 2mm. Enter 0 to turn grid off."); }
    static QString browseFilter() { return QStringLiteral("All Files (*.*)|*.*|Microsoft Access Database (*.mdb)|*.mdb"); }

    enum Field { GridSize, PageHeight, PageWidth, DBPath };

    struct Values
    {
        qint16 gridSize = 2;
        double pageHeight = 16839.9; // twips
        double pageWidth = 11907;    // twips
        QString dbPath;
    };

    // The texts the dialog shows on becoming active.
    struct Texts
    {
        QString gridSize;
        QString pageHeight; // mm
        QString pageWidth;  // mm
        QString dbPath;
    };
    static Texts textsOf(const Values &values);

    // "&OK": the new values, or nothing after the message of the first
    // entry that is not a number (focus says which).
    static std::optional<Values> ok(const Texts &texts, UserPrompts &prompts, Field *focus = nullptr);
};

} // namespace KRML_ReportGen

#pragma once

#include "ModuleState.h"

namespace KRML_ReportGen {

// The zip classes' account of what they did: one text for every archive
// object of the thread, read with GetLastMessage.
class ZipMessage
{
public:
    static void clear() { ModuleState::current().setZipLastMessage(QString()); }
    static void say(const QString &line)
    {
        ModuleState &state = ModuleState::current();
        state.setZipLastMessage(state.zipLastMessage() + line + QStringLiteral("\r\n"));
    }
    static QString text() { return ModuleState::current().zipLastMessage(); }
};

} // namespace KRML_ReportGen

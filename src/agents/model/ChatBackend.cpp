#include "agents/model/ChatBackend.h"

namespace halvex {

QString ChatBackend::id() const
{
    if (const Agent* a = agentValue())
        return a->id;
    return QStringLiteral("team:") + teamValue()->slug;
}

} // namespace halvex

#include "ui/memory/MemoryText.h"

#include "memory/model/MemoryParse.h"

namespace halvex {

QString MemoryText::iconFor(const QString& entry) const
{
    return MemoryParse::iconFor(MemoryParse::categoryOf(entry) + QLatin1Char(' ') + entry);
}

QString MemoryText::categoryOf(const QString& entry) const { return MemoryParse::categoryOf(entry); }

QString MemoryText::bodyOf(const QString& entry) const { return MemoryParse::bodyOf(entry); }

} // namespace halvex

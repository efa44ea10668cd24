#pragma once
// A deterministic corpus of realistic assistant replies, about 2.5 MB in all.
#include <QStringList>

namespace halvex::bench {

QStringList assistantReplies();

} // namespace halvex::bench

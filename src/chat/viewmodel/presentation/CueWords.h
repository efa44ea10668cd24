#pragma once
// The short machine words a step carries (its kind, status and tool) matched without a regex:
// every streamed step is read through these, and a regex match costs an allocation each time.
// All comparisons ignore case; the words are given in lower-case ASCII.
#include <QLatin1StringView>
#include <QStringView>

#include <initializer_list>

namespace halvex::CueWords {

using Words = std::initializer_list<QLatin1StringView>;

// `text` is one of `words`.
bool isOneOf(QStringView text, Words words);
// One of `words` occurs anywhere in `text`.
bool containsAny(QStringView text, Words words);
// One of `words` stands in `text` between two of `separators` (or an end).
bool hasToken(QStringView text, QStringView separators, Words words);
// `text` ends in one of `words`, which starts `text` or follows `separator`.
bool endsWithToken(QStringView text, QChar separator, Words words);
// `word` occurs in `text` with no letter, digit or underscore right before or after it.
bool hasWholeWord(QStringView text, QLatin1StringView word);

} // namespace halvex::CueWords

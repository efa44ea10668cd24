#pragma once
// The address slug proposed and validated for a new project. Cyrillic names are transliterated
// so that a Russian or Ukrainian name still gives a readable slug.
#include <QString>

#include <optional>

namespace halvex::ProjectSlug {

// Nothing when the slug would be "group" (reserved); may be empty, which the form rejects.
std::optional<QString> from(const QString& name);

// The two steps, exposed for tests.
QString ascii(const QString& text);
QString transliterated(const QString& text);

} // namespace halvex::ProjectSlug

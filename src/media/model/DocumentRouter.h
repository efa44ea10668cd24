#pragma once
// Which viewer a document opens in, and the safe name it is cached under.
#include <QString>
#include <QUrl>

#include <exception>
#include <optional>

namespace halvex {

enum class DocumentRoute { pdf, markdown, image, web, quickLook, unsupported };

namespace DocumentRouter {

// The text-like and office formats the desktop's previewers handle (23 extensions).
const QStringList& quickLookExtensions();
DocumentRoute route(const std::optional<QString>& name, const std::optional<QUrl>& url,
                    const std::optional<QString>& mime);
// The lower-cased extension of the address path, else of the name (unless the name is itself
// an address); nothing when neither has one.
std::optional<QString> fileExtension(const std::optional<QString>& name, const std::optional<QUrl>& url);

} // namespace DocumentRouter

namespace DocumentCache {

inline constexpr qint64 maxBytes = 26'214'400;

// A file name that cannot leave the cache folder: separators and NUL become "_", control
// characters go; "document" when nothing is left; the address's extension when it has none.
QString safeFileName(const std::optional<QString>& name, const QUrl& url);

class TooLarge : public std::exception {
public:
    explicit TooLarge(qint64 bytes);
    const QString& description() const { return m_description; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_description;
    QByteArray m_utf8;
};

} // namespace DocumentCache

} // namespace halvex

#include "core/format/MimeType.h"
#include "core/format/SafeHTTPURL.h"
#include "core/format/URLResolver.h"

#include <gtest/gtest.h>

using namespace halvex;

namespace {
std::optional<QString> text(const char* raw) { return QString::fromUtf8(raw); }
} // namespace

TEST(SafeHTTPURL, AcceptsOnlyWebAddressesWithAHost)
{
    const auto url = SafeHTTPURL::parse(text("  HTTPS://Example.com/a?b=1 \n"));
    ASSERT_TRUE(url);
    EXPECT_EQ(url->host(), QStringLiteral("example.com"));
    EXPECT_EQ(url->path(), QStringLiteral("/a"));
    EXPECT_TRUE(SafeHTTPURL::parse(text("http://127.0.0.1:8080")));

    for (const char* bad : {"javascript:alert(1)", "mailto:a@b.c", "file:///etc/passwd", "https://", "http:///path",
                            "/just/a/path", "example.com", "   \n", "ftp://host/x"})
        EXPECT_FALSE(SafeHTTPURL::parse(text(bad))) << bad;
    EXPECT_FALSE(SafeHTTPURL::parse(std::nullopt));
}

TEST(URLResolver, ResolvesRelativeAddressesAgainstTheService)
{
    const QUrl base(QStringLiteral("https://svc.example"));
    EXPECT_EQ(URLResolver::absolute(text("/avatars/a.png"), base),
              QUrl(QStringLiteral("https://svc.example/avatars/a.png")));
    EXPECT_EQ(URLResolver::absolute(text("files/x.pdf"), base),
              QUrl(QStringLiteral("https://svc.example/files/x.pdf")));
    EXPECT_EQ(URLResolver::absolute(text("https://cdn.example/a.png"), base),
              QUrl(QStringLiteral("https://cdn.example/a.png")));
    EXPECT_EQ(URLResolver::absolute(QString(), base), std::nullopt);
    EXPECT_EQ(URLResolver::absolute(std::nullopt, base), std::nullopt);
    EXPECT_EQ(URLResolver::absolute(text("/a b"), base), std::nullopt); // no trimming, no repair
    EXPECT_EQ(URLResolver::absolute(text("/avatars/a.png"))->path(), QStringLiteral("/avatars/a.png"));
}

TEST(MimeType, OnlyTheLastExtensionCountsWhateverItsCase)
{
    EXPECT_EQ(MimeType::from(QStringLiteral("Report.PDF")), QStringLiteral("application/pdf"));
    EXPECT_EQ(MimeType::from(QStringLiteral("backup.tar.gz")), QStringLiteral("application/octet-stream"));
    EXPECT_EQ(MimeType::from(QStringLiteral("photo.JPEG")), QStringLiteral("image/jpeg"));
    EXPECT_EQ(MimeType::from(QStringLiteral("notes.markdown")), QStringLiteral("text/markdown"));
    EXPECT_EQ(MimeType::from(QStringLiteral("config.yml")), QStringLiteral("application/x-yaml"));
    EXPECT_EQ(MimeType::from(QStringLiteral("sheet.xlsx")),
              QStringLiteral("application/vnd.openxmlformats-officedocument.spreadsheetml.sheet"));
    EXPECT_EQ(MimeType::from(QStringLiteral("README")), QStringLiteral("application/octet-stream"));
    EXPECT_EQ(MimeType::from(QStringLiteral("dir.png/file")), QStringLiteral("application/octet-stream"));
    EXPECT_EQ(MimeType::from(QString()), QStringLiteral("application/octet-stream"));
}

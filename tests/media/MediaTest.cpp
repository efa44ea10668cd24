// Service images and linked documents: one download per key, sizes decoded to what is shown,
// refused answers giving nothing; the viewer a document opens in and the name it is cached under.
#include "core/async/ManualClock.h"
#include "media/service/DocumentCache.h"
#include "media/service/RemoteImageStore.h"
#include "support/FakeServer.h"
#include "support/QStringPrinter.h"
#include "support/RunTask.h"
#include "support/TestClient.h"

#include <QBuffer>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

using namespace halvex;
using namespace halvex::test;

namespace {

QByteArray png(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

FakeResponse typed(QByteArray body, QByteArray type)
{
    FakeResponse r = FakeResponse::text(200, std::move(body));
    r.headers.clear();
    return r.withHeader("Content-Type", std::move(type));
}

class MediaTest : public ::testing::Test {
protected:
    FakeServer server;
    ManualClock clock;
    std::unique_ptr<TestClient> t = makeTestClient(server.origin(), &clock);
    void SetUp() override { RemoteImageStore::clear(); }
    QUrl at(const char* path) const { return QUrl(server.originText() + QString::fromLatin1(path)); }
};

} // namespace

TEST_F(MediaTest, OneDownloadServesConcurrentLoadsAndEachSizeIsItsOwnEntry)
{
    server.on("GET", QStringLiteral("/a.png"), typed(png({300, 200}), "image/png"));
    const int before = RemoteImageStore::downloadCount();
    auto first = RemoteImageStore::load(t->client, RemoteImageRequest::avatar(at("/a.png"), 56));
    auto second = RemoteImageStore::load(t->client, RemoteImageRequest::avatar(at("/a.png"), 56));
    const auto a = runTask(std::move(first));
    const auto b = runTask(std::move(second));
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->size(), QSize(56, 56));
    EXPECT_EQ(server.count("GET", QStringLiteral("/a.png")), 1);
    const auto large = runTask(RemoteImageStore::load(t->client, RemoteImageRequest::avatar(at("/a.png"), 112)));
    ASSERT_TRUE(large);
    EXPECT_EQ(large->size(), QSize(112, 112));
    EXPECT_EQ(RemoteImageStore::downloadCount() - before, 2);
    EXPECT_EQ(RemoteImageStore::cachedCount(), 2);
    runTask(RemoteImageStore::load(t->client, RemoteImageRequest::avatar(at("/a.png"), 56)));
    EXPECT_EQ(RemoteImageStore::downloadCount() - before, 2) << "served from the cache";
}

TEST_F(MediaTest, ArtifactsShrinkWithoutEnlargingAndRefusedAnswersGiveNothing)
{
    EXPECT_EQ(RemoteImageRequest::artifact({}, {1200, 1200}).outputSize({4000, 1000}), QSize(1200, 300));
    EXPECT_EQ(RemoteImageRequest::artifact({}, {1200, 1200}).outputSize({300, 200}), QSize(300, 200));
    EXPECT_EQ(RemoteImageRequest::pixelsFor(28, 2), 56);
    EXPECT_EQ(RemoteImageRequest::pixelsFor(-3, 0.5), 1);

    server.on("GET", QStringLiteral("/page.png"), typed("<html>nope</html>", "text/html"));
    server.on("GET", QStringLiteral("/missing.png"), FakeResponse::json(404, R"({"error":"gone"})"));
    server.on("GET", QStringLiteral("/junk.png"), typed("not an image at all", "image/png"));
    for (const char* path : {"/page.png", "/missing.png", "/junk.png"})
        EXPECT_FALSE(runTask(RemoteImageStore::load(t->client, RemoteImageRequest::thumbnail(at(path), {64, 64}))))
            << path;
    EXPECT_EQ(RemoteImageStore::cachedCount(), 0);
}

TEST_F(MediaTest, DocumentsRouteByTypeExtensionAndAddress)
{
    using R = DocumentRoute;
    EXPECT_EQ(DocumentRouter::route(QStringLiteral("report.PDF"), std::nullopt, std::nullopt), R::pdf);
    EXPECT_EQ(
        DocumentRouter::route(std::nullopt, QUrl(QStringLiteral("https://x.test/a")), QStringLiteral("text/markdown")),
        R::markdown);
    EXPECT_EQ(DocumentRouter::route(std::nullopt, QUrl(QStringLiteral("https://x.test/q3.xlsx")), std::nullopt),
              R::quickLook);
    EXPECT_EQ(DocumentRouter::route(std::nullopt, QUrl(QStringLiteral("https://x.test/about")), std::nullopt), R::web);
    EXPECT_EQ(DocumentRouter::route(std::nullopt, QUrl(QStringLiteral("file:///etc/passwd")), std::nullopt),
              R::unsupported);
    EXPECT_EQ(DocumentRouter::fileExtension(QStringLiteral("https://x.test/a.csv"), std::nullopt), std::nullopt);
    EXPECT_EQ(DocumentCache::safeFileName(QStringLiteral("a/b:c.txt"), QUrl()), QStringLiteral("a_b_c.txt"));
    EXPECT_EQ(DocumentCache::safeFileName(QString(), QUrl(QStringLiteral("https://x.test/d/rows.csv"))),
              QStringLiteral("rows.csv"));
    EXPECT_EQ(DocumentCache::safeFileName(QStringLiteral("../.."), QUrl()), QStringLiteral(".._.."));
    EXPECT_EQ(DocumentCache::safeFileName(QStringLiteral(".."), QUrl()), QStringLiteral("document"));
}

TEST_F(MediaTest, AnOversizedDocumentFailsAndWritesNothing)
{
    server.on("GET", QStringLiteral("/big.pdf"), typed(QByteArray(31'457'280, 'x'), "application/pdf"));
    const QString path = QDir(DocumentCache::dir()).filePath(QStringLiteral("big.pdf"));
    QFile::remove(path);
    try {
        runTask(DocumentCache::fetch(t->client, std::nullopt, at("/big.pdf")));
        FAIL() << "a 30 MB document was cached";
    } catch (const DocumentCache::TooLarge& e) {
        EXPECT_EQ(e.description(), QStringLiteral("Document is too large to preview (30 MB)."));
    }
    EXPECT_FALSE(QFile::exists(path));

    server.on("GET", QStringLiteral("/rows.csv"), typed("a,b\n1,2\n", "text/csv"));
    const QString saved = runTask(DocumentCache::fetch(t->client, QStringLiteral("../../evil.csv"), at("/rows.csv")));
    EXPECT_TRUE(saved.startsWith(DocumentCache::dir()));
    EXPECT_TRUE(QFile::exists(saved));
}

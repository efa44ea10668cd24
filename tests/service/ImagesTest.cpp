// Images as the app loads them: chat attachments, an image an employee made, avatars and
// project uploads come with their real type and are never sniffed; a missing one is a JSON 404.
#include "RunningService.h"
#include "artifacts/ImageType.h"

#include <gtest/gtest.h>

using namespace service_test;

namespace {

const std::string kPng = std::string("\x89PNG\r\n\x1a\n", 8) + std::string(24, '\0');

void expectImage(const httplib::Result& r, const std::string& type)
{
    ASSERT_TRUE(r);
    EXPECT_EQ(r->status, 200) << r->body;
    EXPECT_EQ(r->get_header_value("Content-Type"), type);
    EXPECT_EQ(r->get_header_value("X-Content-Type-Options"), "nosniff");
}

std::string pathOf(const RunningService& svc, const std::string& url) { return url.substr(svc.origin().size()); }

} // namespace

TEST(Images, ChatImagesArtifactsAndAvatarsComeWithTheirType)
{
    RunningService svc;
    auto c = svc.client(svc.demoCookie());
    auto uploaded = c.Post("/api/v2/custom-agents/a-researcher/chat/files",
                           httplib::MultipartFormDataItems{{"files", kPng, "photo.png", "image/png"}});
    ASSERT_EQ(uploaded->status, 200) << uploaded->body;
    const json file = body(uploaded)["files"][0];
    EXPECT_EQ(file["kind"], "image");
    auto image = c.Get(pathOf(svc, file["url"]).c_str());
    expectImage(image, "image/png");
    EXPECT_EQ(image->body, kPng);
    EXPECT_EQ(image->get_header_value("Content-Disposition").rfind("inline;", 0), 0u);
    // Only its owner gets it.
    EXPECT_EQ(svc.client().Get(pathOf(svc, file["url"]).c_str())->status, 401);

    // An image the employee makes in a turn is stored before the turn answers.
    auto turn = c.Post("/api/v2/custom-agents/a-support/chat", R"({"text":"make an image of a lighthouse"})",
                       "application/json");
    ASSERT_EQ(turn->status, 200) << turn->body;
    const json made = body(c.Get("/api/v2/custom-agents/a-support/files"))["files"];
    ASSERT_EQ(made.size(), 1u);
    EXPECT_EQ(made[0]["kind"], "image");
    auto svg = c.Get(pathOf(svc, made[0]["url"]).c_str());
    expectImage(svg, "image/svg+xml");
    EXPECT_NE(svg->body.find("<svg"), std::string::npos);

    expectImage(c.Get("/9.x/notionists/svg?seed=Researcher"), "image/svg+xml");

    for (const char* missing : {"/api/v2/chat-files/ffffffffffffffffffffffff", "/api/v2/chat-files/../etc"}) {
        auto r = c.Get(missing);
        EXPECT_EQ(r->status, 404) << missing;
        EXPECT_EQ(r->get_header_value("Content-Type"), "application/json");
        EXPECT_TRUE(body(r).contains("error"));
    }
}

TEST(Images, ProjectUploadsAreServedAsWhatTheirBytesAre)
{
    RunningService svc;
    auto c = svc.client(svc.demoCookie());
    const std::string html = "<html><script>alert(1)</script></html>";
    auto r = c.Post("/api/v2/projects/spring-launch/files",
                    httplib::MultipartFormDataItems{
                        {"files", kPng, "scan", "application/octet-stream"},
                        {"files", html, "fake.png", "image/png"},
                        {"files", "<svg xmlns='http://www.w3.org/2000/svg'/>", "logo.svg", "image/svg+xml"}});
    ASSERT_EQ(r->status, 200) << r->body;
    const json files = body(r)["files"];
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[0]["mime"], "image/png");
    EXPECT_EQ(files[1]["mime"], "application/octet-stream");
    EXPECT_EQ(files[2]["mime"], "image/svg+xml");
    expectImage(c.Get(pathOf(svc, files[0]["url"]).c_str()), "image/png");
    auto fake = c.Get(pathOf(svc, files[1]["url"]).c_str());
    EXPECT_EQ(fake->get_header_value("Content-Type"), "application/octet-stream");
    EXPECT_EQ(fake->get_header_value("Content-Disposition").rfind("attachment;", 0), 0u);
    // SVG can carry script: it is an image to the app, a download to a browser.
    auto logo = c.Get(pathOf(svc, files[2]["url"]).c_str());
    expectImage(logo, "image/svg+xml");
    EXPECT_EQ(logo->get_header_value("Content-Disposition").rfind("attachment;", 0), 0u);
    EXPECT_EQ(c.Get("/api/v2/projects/spring-launch/files/pf-missing/content")->status, 404);
}

TEST(Images, TypesComeFromSignaturesBeforeNames)
{
    using service::servedType;
    EXPECT_EQ(service::rasterImageType("\xFF\xD8\xFF\xE0rest"), "image/jpeg");
    EXPECT_EQ(service::rasterImageType("GIF89a..."), "image/gif");
    EXPECT_EQ(service::rasterImageType(std::string("RIFF\x10\0\0\0WEBPVP8 ", 16)), "image/webp");
    EXPECT_EQ(service::rasterImageType("RIFF"), "");
    EXPECT_EQ(servedType("text/plain", kPng, "text/plain"), "image/png");
    EXPECT_EQ(servedType("Text/Markdown", "# Title", "text/markdown"), "text/markdown");
    EXPECT_EQ(servedType("not a type", "# Title", "text/markdown"), "text/markdown");
    EXPECT_EQ(servedType("image/jpeg", "plain words", "image/jpeg"), "application/octet-stream");
    EXPECT_EQ(servedType("", "", ""), "application/octet-stream");
}

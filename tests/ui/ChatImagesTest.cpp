// A turn's attachments: images with a web address become thumbnails, other files document
// chips; an address the app would not fetch becomes neither.
#include "chat/model/ChatMessage.h"
#include "ui/chat/ChatRowFields.h"

#include <gtest/gtest.h>

using namespace halvex;

TEST(ChatImagesTest, OnlyImageAttachmentsWithAWebAddressBecomeThumbnails)
{
    ChatMessage m;
    m.role = QStringLiteral("user");
    m.metadata.raw.insert(QStringLiteral("attachments"),
                          JSONValue::parse(R"json([{"name":"a.png","kind":"image","url":"https://files.test/a.png"},
                             {"name":"b.jpg","mime":"image/jpeg","url":"http://files.test/b.jpg"},
                             {"name":"c.pdf","kind":"document","url":"https://files.test/c.pdf"},
                             {"name":"d.png","kind":"image","url":"javascript:alert(1)"
},
                             {"name":"e.png","kind":"image","url":"file:///etc/passwd"},
                             {"name":"f.png","kind":"image"}])json"));
    const QVariantList images = ChatRowFields::images(m);
    ASSERT_EQ(images.size(), 2);
    EXPECT_EQ(images[0].toMap().value(QStringLiteral("url")).toString(), QStringLiteral("https://files.test/a.png"));
    EXPECT_EQ(images[1].toMap().value(QStringLiteral("name")).toString(), QStringLiteral("b.jpg"));

    // The rest are documents for the viewer, with their name, type and size.
    const QVariantList files = ChatRowFields::files(m);
    ASSERT_EQ(files.size(), 1);
    EXPECT_EQ(files[0].toMap().value(QStringLiteral("name")).toString(), QStringLiteral("c.pdf"));
    EXPECT_EQ(files[0].toMap().value(QStringLiteral("size")).toString(), QString());
    EXPECT_EQ(ChatRowFields::sizeText(312), QStringLiteral("312 bytes"));
    EXPECT_EQ(ChatRowFields::sizeText(14'000), QStringLiteral("14 KB"));
    EXPECT_EQ(ChatRowFields::sizeText(2'516'582), QStringLiteral("2.4 MB"));
}

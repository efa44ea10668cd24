#include "chat/viewmodel/presentation/ArtifactExtraction.h"

#include "chat/viewmodel/presentation/MetadataLinks.h"
#include "chat/viewmodel/presentation/PresentationText.h"

#include <QStringList>

namespace halvex::ArtifactExtraction {

namespace {

const QStringList& artifactKeys()
{
    static const QStringList keys{
        QStringLiteral("artifact"), QStringLiteral("team_artifact"), QStringLiteral("document"),
        QStringLiteral("image"),    QStringLiteral("video"),         QStringLiteral("site"),
        QStringLiteral("payment"),  QStringLiteral("link"),          QStringLiteral("note")};
    return keys;
}

QString defaultName(const QString& type)
{
    if (type == u"document")
        return QStringLiteral("Document");
    if (type == u"image")
        return QStringLiteral("Image");
    if (type == u"video")
        return QStringLiteral("Video");
    if (type == u"site")
        return QStringLiteral("Website");
    if (type == u"payment")
        return QStringLiteral("Payment");
    if (type == u"team_artifact")
        return QStringLiteral("Artifact");
    return PresentationText::titleCase(type);
}

} // namespace

std::optional<ChatArtifactReference> artifact(const MessageMetadata& metadata)
{
    for (const QString& key : artifactKeys()) {
        const auto it = metadata.raw.constFind(key);
        if (it == metadata.raw.cend() || !it->isObject() || it->toObject().isEmpty())
            continue;
        const JSONObject& object = it->toObject();
        ChatArtifactReference ref;
        static const QStringList typeKeys{QStringLiteral("artifact_type"), QStringLiteral("kind")};
        ref.type = MetadataLinks::firstString(object, typeKeys)
                       .value_or(metadata.nonEmptyString(QStringLiteral("artifact_type")).value_or(key))
                       .toLower();
        static const QStringList nameKeys{QStringLiteral("name"), QStringLiteral("label")};
        ref.name = MetadataLinks::firstString(object, nameKeys).value_or(defaultName(ref.type));
        ref.url = MetadataLinks::firstSafeURL(object);
        static const QStringList workspaceKeys{QStringLiteral("workspace_id"), QStringLiteral("workspace_path")};
        ref.workspaceID = MetadataLinks::firstString(object, workspaceKeys);
        static const QStringList ownerKeys{QStringLiteral("author_agent_id"), QStringLiteral("member_id")};
        ref.ownerAgentID = MetadataLinks::firstString(object, ownerKeys);
        if (!ref.ownerAgentID)
            ref.ownerAgentID = MetadataLinks::firstString(metadata.raw, ownerKeys);
        ref.payload = object;
        return ref;
    }
    return std::nullopt;
}

QString artifactIcon(const QString& type)
{
    const QString t = type.toLower();
    if (t == u"table")
        return QStringLiteral("tablecells");
    if (t == u"note")
        return QStringLiteral("note.text");
    if (t == u"site")
        return QStringLiteral("globe");
    if (t == u"image")
        return QStringLiteral("photo");
    if (t == u"video")
        return QStringLiteral("play.rectangle");
    if (t == u"payment")
        return QStringLiteral("creditcard");
    if (t == u"link")
        return QStringLiteral("link");
    return QStringLiteral("doc.text");
}

bool hasDestination(const ChatArtifactReference& reference)
{
    return reference.url.has_value() || reference.workspaceID.has_value();
}

bool isMediaType(const QString& type) { return type == u"image" || type == u"video" || type == u"site"; }

} // namespace halvex::ArtifactExtraction

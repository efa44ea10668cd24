#pragma once
// The one thing a message produced, read from its metadata.
#include "chat/model/ChatArtifactReference.h"
#include "chat/model/MessageMetadata.h"

#include <QString>

#include <optional>

namespace halvex::ArtifactExtraction {

// From the first of "artifact", "team_artifact", "document", "image", "video", "site",
// "payment", "link", "note" that holds a non-empty object.
std::optional<ChatArtifactReference> artifact(const MessageMetadata& metadata);

QString artifactIcon(const QString& type);

// A URL or a workspace location to open.
bool hasDestination(const ChatArtifactReference& reference);

// Images, videos and sites show as media cards.
bool isMediaType(const QString& type);

} // namespace halvex::ArtifactExtraction

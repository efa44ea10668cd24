#pragma once
// The project profile inside a project's brief: the description as the brief's own text, then
// the other four fields as one Markdown document whose fields are marked so that they read back.
#include "projects/model/ProjectIntakeRecords.h"

namespace halvex::ProjectOverviewCodec {

inline const QString documentMarker = QStringLiteral("<!-- tessal:project-overview:v1 -->");

// The document of the four fields after the description; an empty field keeps its heading.
QString serialize(const ProjectOverview& overview);
// The fields between their markers (heading removed, trimmed); `description` as given.
ProjectOverview parse(const QString& sharedMarkdown, const QString& description);
// The brief's text before the document, trimmed: the description it was created with.
QString descriptionOf(const QString& brief);
// The whole brief: the description, an empty line, the document (the document alone without one).
QString brief(const ProjectOverview& overview);

} // namespace halvex::ProjectOverviewCodec

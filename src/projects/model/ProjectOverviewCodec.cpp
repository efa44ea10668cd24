#include "projects/model/ProjectOverviewCodec.h"

#include <algorithm>

namespace halvex::ProjectOverviewCodec {

namespace {

struct Section {
    const char* key;
    const char* heading;
};

constexpr Section kSections[] = {{"product_audience", "Product and audience"},
                                 {"desired_result", "Desired result"},
                                 {"competitors", "Competitors and alternatives"},
                                 {"constraints", "Constraints"}};

QString marker(const char* key, const char* edge)
{
    return QStringLiteral("<!-- tessal:field:") + QLatin1String(key) + QLatin1Char(':') + QLatin1String(edge)
        + QStringLiteral(" -->");
}

} // namespace

QString serialize(const ProjectOverview& overview)
{
    QStringList blocks{documentMarker};
    for (const auto& [key, heading] : kSections) {
        QStringList lines{marker(key, "start"), QStringLiteral("## ") + QLatin1String(heading)};
        if (const QString value = overview.field(QLatin1String(key)).trimmed(); !value.isEmpty())
            lines << value;
        lines << marker(key, "end");
        blocks << lines.join(QLatin1Char('\n'));
    }
    return blocks.join(QStringLiteral("\n\n"));
}

ProjectOverview parse(const QString& sharedMarkdown, const QString& description)
{
    ProjectOverview out;
    out.description = description;
    for (const Section& section : kSections) {
        const char* key = section.key;
        const QString start = marker(key, "start");
        const qsizetype from = sharedMarkdown.indexOf(start);
        const qsizetype to = from < 0 ? -1 : sharedMarkdown.indexOf(marker(key, "end"), from + start.size());
        if (to < 0)
            continue;
        QStringList lines = sharedMarkdown.mid(from + start.size(), to - from - start.size()).split(QLatin1Char('\n'));
        // Only the field's own heading goes: a value may hold headings of its own.
        const auto heading
            = std::find_if(lines.begin(), lines.end(), [](const QString& l) { return !l.trimmed().isEmpty(); });
        if (heading != lines.end() && heading->trimmed().startsWith(QLatin1String("## ")))
            lines.erase(heading);
        out.setField(QLatin1String(key), lines.join(QLatin1Char('\n')).trimmed());
    }
    return out;
}

QString descriptionOf(const QString& brief)
{
    const qsizetype at = brief.indexOf(documentMarker);
    return (at < 0 ? brief : brief.left(at)).trimmed();
}

QString brief(const ProjectOverview& overview)
{
    const QString description = overview.description.trimmed();
    const QString document = serialize(overview);
    return description.isEmpty() ? document : description + QStringLiteral("\n\n") + document;
}

} // namespace halvex::ProjectOverviewCodec

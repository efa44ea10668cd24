#include "create/model/TeamDocuments.h"

#include "core/format/Characters.h"
#include "core/format/ProjectSlug.h"

namespace halvex::TeamDocuments {

namespace {

QString text(const std::optional<QString>& s) { return s.value_or(QString()); }

QString capped(const QString& document)
{
    if (characterCount(document) <= documentLimit)
        return document;
    return leftCharacters(document, documentLimit) + QStringLiteral("\n…");
}

QString joinSections(const QList<QStringList>& sections)
{
    QStringList blocks;
    for (const QStringList& lines : sections)
        blocks << lines.join(QLatin1Char('\n'));
    return blocks.join(QStringLiteral("\n\n"));
}

} // namespace

QString rawSlug(const QString& input)
{
    const QString lower = input.trimmed().toLower();
    QString out;
    for (const QChar c : lower) {
        if ((c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9'))
            out.append(c);
        else if (!out.endsWith(QLatin1Char('-')))
            out.append(QLatin1Char('-'));
    }
    while (out.startsWith(QLatin1Char('-')))
        out.remove(0, 1);
    while (out.endsWith(QLatin1Char('-')))
        out.chop(1);
    return out;
}

QString slugify(const QString& input)
{
    const QString plain = rawSlug(input);
    if (!plain.isEmpty())
        return plain;
    // The same transliteration table as project addresses.
    return rawSlug(ProjectSlug::transliterated(input.toLower()));
}

QUrl dicebearURL(const QString& seed, const QString& origin)
{
    QUrl url(origin + QStringLiteral("/9.x/notionists/svg"));
    url.setQuery(QStringLiteral("seed=") + QString::fromLatin1(QUrl::toPercentEncoding(seed))
                 + QStringLiteral("&backgroundColor=ede9fe"));
    return url;
}

QString buildWorkerSystemPrompt(const TeamDraft& team, const TeamMemberDraft& member)
{
    if (!text(member.systemPrompt).trimmed().isEmpty())
        return *member.systemPrompt;
    QStringList lines;
    lines << QStringLiteral("You are ") + member.handle.value_or(QStringLiteral("@worker")) + QStringLiteral(", the ")
            + text(member.role) + QStringLiteral(" in the ") + text(team.name) + QStringLiteral(" team group chat.");
    lines << QStringLiteral("Your output: ") + text(member.out) + QStringLiteral(".");
    lines << QStringLiteral(
        "You self-select your work: each turn, decide whether the user's message is your job (claim it) or better "
        "left to a teammate (pass) — there is no router or boss assigning turns. When it's yours, reply to the user "
        "directly, in first person, as yourself.");
    if (!text(member.boundaries).isEmpty())
        lines << QStringLiteral("Out of scope: ") + *member.boundaries;
    lines << QStringLiteral(
        "Stay in role and keep replies concise; @-mention a teammate when the next step is theirs. When no teammate "
        "is a better fit, deliver the result to the user and stop — don't invent a hand-off.");
    return lines.join(QLatin1Char('\n'));
}

QString buildWorkerMd(const TeamDraft& team, const TeamMemberDraft& member)
{
    QList<QStringList> sections;
    sections << QStringList{QStringLiteral("# Role: ") + text(member.role)};
    sections << QStringList{QStringLiteral("## My handle"), text(member.handle)};
    sections << QStringList{QStringLiteral("## My output"), text(member.out)};
    if (!text(member.boundaries).isEmpty())
        sections << QStringList{QStringLiteral("## Out of my scope"), *member.boundaries};
    sections << QStringList{QStringLiteral("## Team I belong to"),
                            text(team.name) + QStringLiteral(" — ") + text(team.tagline)};
    sections << QStringList{QStringLiteral("## Pipeline"), text(team.summary).trimmed()};
    QStringList coordination{
        QStringLiteral("## Coordination"),
        QStringLiteral("- I self-select my work: each turn I decide whether the user's message is my job (claim it) "
                       "or better left to a teammate (pass). When it's mine, I reply to the user directly, in first "
                       "person, as myself — there is no router or boss assigning turns."),
        QStringLiteral("- When the next pipeline step belongs to a teammate, I @-mention them in my reply (they "
                       "answer in the same chat) or use ask_teammate for a private question."),
        QStringLiteral("- When no teammate is a better fit for the next step, I deliver the final result to the user "
                       "and stop — I don't invent a hand-off just to be polite.")};
    QStringList others;
    for (const TeamMemberDraft& other : team.members.value_or(QList<TeamMemberDraft>())) {
        if (other.handle == member.handle)
            continue;
        QString line = QStringLiteral("  - ") + text(other.handle) + QStringLiteral(" — ") + text(other.role)
            + QStringLiteral(" (output: ") + text(other.out);
        if (!text(other.boundaries).isEmpty())
            line += QStringLiteral("; not their job: ") + *other.boundaries;
        others << line + QLatin1Char(')');
    }
    if (others.isEmpty())
        coordination << QStringLiteral("- I am the only member of this team.");
    else
        coordination << QStringLiteral("- Other team members:") << others;
    sections << coordination;
    return capped(joinSections(sections));
}

QString buildTeamPipelineMd(const TeamDraft& team)
{
    QStringList members{QStringLiteral("## Members")};
    for (const TeamMemberDraft& member : team.members.value_or(QList<TeamMemberDraft>())) {
        QString line = QStringLiteral("- ") + text(member.handle) + QStringLiteral(" — ") + text(member.role)
            + QStringLiteral(" → ") + text(member.out);
        if (!text(member.boundaries).isEmpty())
            line += QStringLiteral(" (not their job: ") + *member.boundaries + QLatin1Char(')');
        members << line;
    }
    if (members.size() == 1)
        members << QStringLiteral("—");
    const QString orchestration = text(team.orchestration);
    const QStringList tools = team.tools.value_or(QStringList());
    const QList<QStringList> sections{
        {QStringLiteral("# ") + text(team.name)},
        {QStringLiteral("## Mission"), text(team.tagline)},
        members,
        {QStringLiteral("## Orchestration"), orchestration.isEmpty() ? QStringLiteral("—") : orchestration},
        {QStringLiteral("## Pipeline"), text(team.summary).trimmed()},
        {QStringLiteral("## Shared tools"), tools.isEmpty() ? QStringLiteral("—") : tools.join(QStringLiteral(", "))}};
    return capped(joinSections(sections));
}

} // namespace halvex::TeamDocuments

#include "projects/model/ProjectIntakeRules.h"

#include "core/format/ProjectSlug.h"
#include "projects/model/ProjectOverviewCodec.h"

#include <QRegularExpression>

namespace halvex {

QList<QList<ProjectIntakeQuestion>> ProjectIntakeQuestionGroups::split(const QList<ProjectIntakeQuestion>& questions)
{
    QList<QList<ProjectIntakeQuestion>> pages;
    for (qsizetype i = 0; i < questions.size(); i += pageSize)
        pages.append(questions.mid(i, pageSize));
    return pages;
}

JSONObject ProjectIntakePayload::createBody(const QString& label, const ProjectOverview& overview,
                                            const QString& creationRequestID,
                                            const std::optional<ProjectIntakeSource>& siteEvidence)
{
    JSONObject body{{QStringLiteral("label"), label},
                    {QStringLiteral("brief"), overview.description},
                    {QStringLiteral("overview"), overview.wire()},
                    {QStringLiteral("creation_request_id"), creationRequestID}};
    if (siteEvidence && siteEvidence->hasToken())
        body.insert(QStringLiteral("site_evidence"), siteEvidence->payload());
    return body;
}

namespace ProjectIntakeRules {

namespace {

std::optional<QString> slugOf(const QString& label)
{
    const auto slug = ProjectSlug::from(label.trimmed());
    return slug && !slug->isEmpty() ? slug : std::nullopt;
}

} // namespace

std::optional<QString> validateName(const QString& label)
{
    if (label.trimmed().isEmpty())
        return QStringLiteral("Give the project a name — it becomes its address and its label in every chat.");
    if (!slugOf(label))
        return QStringLiteral("This name has no letters or digits to build an address from — add a word to it.");
    return std::nullopt;
}

QString addressPreview(const QString& label)
{
    const auto slug = slugOf(label);
    return slug ? QStringLiteral("Address: /project/") + *slug
                : QStringLiteral("Add a letter or digit — the address is built from the name.");
}

std::optional<QUrl> normalisedWebsite(const QString& text)
{
    // A colon before a digit ("example.com:8080") starts a port, not a scheme.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:(?!\\d)"));
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    const bool hasScheme = scheme.match(trimmed).hasMatch();
    const QUrl url(hasScheme ? trimmed : QStringLiteral("https://") + trimmed, QUrl::StrictMode);
    const QString s = url.scheme().toLower();
    if (!url.isValid() || (s != u"http" && s != u"https") || url.host().isEmpty())
        return std::nullopt;
    return url;
}

QStringList links(const QString& website, const QString& linksText)
{
    QStringList out;
    if (const auto site = normalisedWebsite(website))
        out << site->toString();
    for (const QString& raw : linksText.split(QLatin1Char('\n'))) {
        const QString line = raw.trimmed();
        if ((line.startsWith(QLatin1String("http://")) || line.startsWith(QLatin1String("https://")))
            && !out.contains(line))
            out << line;
    }
    return out;
}

std::optional<QString> profileTooLong(const ProjectOverview& overview)
{
    if (overview.description.size() > maxDescriptionUnits
        || ProjectOverviewCodec::serialize(overview).size() > maxProfileUnits)
        return QStringLiteral("The project profile is too long. Shorten the Description or context fields.");
    return std::nullopt;
}

QString answerOf(const QString& typed, const QString& chosen)
{
    return typed.trimmed().isEmpty() ? chosen : typed.trimmed();
}

QString tooManyFiles() { return QStringLiteral("You can add up to %1 files at once.").arg(maxFiles); }

QString fieldTitle(const QString& key)
{
    if (key == u"description")
        return QStringLiteral("Description");
    if (key == u"product_audience")
        return QStringLiteral("Product & audience");
    if (key == u"desired_result")
        return QStringLiteral("Desired result");
    if (key == u"competitors")
        return QStringLiteral("Competitors");
    if (key == u"constraints")
        return QStringLiteral("Constraints");
    return {};
}

QString fieldHint(const QString& key)
{
    if (key == u"description")
        return QStringLiteral("A short plain-language summary of what the project is.");
    if (key == u"product_audience")
        return QStringLiteral("What it offers, who it serves, and the problem worth solving.");
    if (key == u"desired_result")
        return QStringLiteral("The outcome this project should create and how success looks.");
    if (key == u"competitors")
        return QStringLiteral("What people use today and how this project is different.");
    if (key == u"constraints")
        return QStringLiteral("Limits, risks, deadlines, budget, technology, and non-negotiables.");
    return {};
}

} // namespace ProjectIntakeRules

} // namespace halvex

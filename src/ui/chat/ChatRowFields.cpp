#include "ui/chat/ChatRowFields.h"

#include "core/format/URLResolver.h"

#include "chat/viewmodel/ArtifactPreviewModel.h"
#include "chat/viewmodel/presentation/MessagePresentationResolver.h"
#include "core/format/SettingsDate.h"
#include "media/model/DocumentRouter.h"
#include "richtext/inline/InlineRenderer.h"
#include "richtext/inline/LinkPolicy.h"

#include <QVariantList>

namespace halvex::ChatRowFields {

namespace {

QString statusName(ReasoningStatus status)
{
    switch (status) {
    case ReasoningStatus::running:
        return QStringLiteral("running");
    case ReasoningStatus::failed:
        return QStringLiteral("failed");
    case ReasoningStatus::done:
        return QStringLiteral("done");
    }
    return QStringLiteral("done");
}

QVariantList blocksOf(const QList<ReasoningBlock>& blocks, const InlineStyle& style)
{
    QVariantList list;
    for (const ReasoningBlock& block : blocks) {
        QVariantList stages;
        for (const ReasoningStage& stage : block.stages)
            stages.append(QVariantMap{{QStringLiteral("text"), InlineRenderer::render(stage.text, style)},
                                      {QStringLiteral("running"), stage.isRunning},
                                      {QStringLiteral("failed"), stage.isFailed},
                                      {QStringLiteral("handoff"), stage.isHandoff}});
        list.append(QVariantMap{{QStringLiteral("actor"), block.hasActor ? block.actor : QString()},
                                {QStringLiteral("stages"), stages}});
    }
    return list;
}

bool isAnswerVariant(MessageVariant variant)
{
    return variant == MessageVariant::plain || variant == MessageVariant::report;
}

} // namespace

QString kind(const ChatRowItem& row, ChatSurface surface)
{
    switch (row.kind()) {
    case ChatRowItem::Kind::stepGroup:
        return QStringLiteral("steps");
    case ChatRowItem::Kind::artifactChips:
        return QStringLiteral("chips");
    case ChatRowItem::Kind::goalReview:
        return QStringLiteral("goalReview");
    case ChatRowItem::Kind::single:
        break;
    }
    const ChatMessage& message = *row.message();
    if (message.isUser())
        return QStringLiteral("user");
    const auto presentation = MessagePresentationResolver::cachedResolveShared(message, surface);
    return isAnswerVariant(presentation->variant) ? QStringLiteral("answer") : QStringLiteral("card");
}

QVariantMap card(const MessagePresentation& p, const InlineStyle& style)
{
    QVariantList metadata;
    for (const PresentationMetadata& entry : p.metadata)
        metadata.append(QVariantMap{{QStringLiteral("label"), entry.label}, {QStringLiteral("value"), entry.value}});
    QStringList actions;
    for (PresentationAction action : p.actions)
        actions << rawValue(action);
    QString destination;
    if (p.destination && LinkPolicy::isOpenable(*p.destination))
        destination = p.destination->toString();
    // A picture the employee made shows itself, loaded through the image cache.
    QString image;
    if (p.artifact && p.artifact->url && LinkPolicy::isOpenable(*p.artifact->url)) {
        const JSONValue mime = p.artifact->payload.value(QStringLiteral("mime"));
        if (DocumentRouter::route(p.artifact->name, p.artifact->url, mime.stringValue()) == DocumentRoute::image)
            image = p.artifact->url->toString(QUrl::FullyEncoded);
    }
    return {{QStringLiteral("variant"), rawValue(p.variant)},
            {QStringLiteral("tone"), rawValue(p.tone)},
            {QStringLiteral("title"), p.title},
            {QStringLiteral("body"), InlineRenderer::render(p.body, style)},
            {QStringLiteral("status"), p.status},
            {QStringLiteral("icon"), p.icon},
            {QStringLiteral("metadata"), metadata},
            {QStringLiteral("destination"), destination},
            {QStringLiteral("actions"), actions},
            {QStringLiteral("nextAction"), p.nextAction},
            {QStringLiteral("artifactName"), p.artifact ? p.artifact->name : QString()},
            {QStringLiteral("image"), image},
            // Tables and notes open in the chat's preview rather than at an address.
            {QStringLiteral("previewable"), p.artifact && ArtifactPreviewModel::canPreview(*p.artifact)}};
}

QVariantMap reasoning(const ReasoningCardModel& model, const InlineStyle& style)
{
    return {{QStringLiteral("title"), model.title},
            {QStringLiteral("meta"), model.meta},
            {QStringLiteral("status"), statusName(model.status)},
            {QStringLiteral("stepCount"), model.stepCount},
            {QStringLiteral("hiddenCount"), model.hiddenCount},
            {QStringLiteral("collapsed"), blocksOf(model.collapsedBlocks, style)},
            {QStringLiteral("full"), blocksOf(model.fullBlocks, style)}};
}

QVariantMap goalReview(const GoalReviewItem& review)
{
    return {{QStringLiteral("key"), review.key()},
            {QStringLiteral("goalId"), review.goalId},
            {QStringLiteral("runId"), review.runId},
            {QStringLiteral("objective"), review.objective},
            {QStringLiteral("definitionOfDone"), review.definitionOfDone},
            {QStringLiteral("deadline"),
             review.reviewDeadline ? SettingsDate::shortText(review.reviewDeadline) : QString()}};
}

namespace {

// Attachments with a web address, pictures or the rest; the service's "kind" or the MIME type
// tells which.
QVariantList attachments(const ChatMessage& message, bool pictures)
{
    QVariantList out;
    for (const JSONValue& a : message.metadata.raw.value(QStringLiteral("attachments")).toArray()) {
        const auto field
            = [&](const char* key) { return a[key] ? a[key]->stringValue().value_or(QString()) : QString(); };
        const bool image = field("kind") == u"image" || field("mime").startsWith(QLatin1String("image/"));
        const auto url = URLResolver::absolute(field("url"));
        if (image != pictures || !url || (url->scheme() != u"http" && url->scheme() != u"https"))
            continue;
        QVariantMap item{{QStringLiteral("url"), url->toString(QUrl::FullyEncoded)},
                         {QStringLiteral("name"), field("name")}};
        if (!pictures) {
            // GCC 12 warns falsely about an optional<double> built in a conditional.
            double size = -1;
            if (const auto value = a["size"])
                size = value->numberValue().value_or(-1);
            item.insert(QStringLiteral("mime"), field("mime"));
            item.insert(QStringLiteral("size"), size >= 0 ? sizeText(qint64(size)) : QString());
        }
        out << item;
    }
    return out;
}

} // namespace

QVariantList images(const ChatMessage& message) { return attachments(message, true); }

QVariantList files(const ChatMessage& message) { return attachments(message, false); }

QString sizeText(qint64 bytes)
{
    if (bytes < 1024)
        return QStringLiteral("%1 bytes").arg(bytes);
    if (bytes < 1024 * 1024)
        return QStringLiteral("%1 KB").arg((bytes + 512) / 1024);
    return QStringLiteral("%1 MB").arg(double(bytes) / (1024.0 * 1024.0), 0, 'f', 1);
}

} // namespace halvex::ChatRowFields

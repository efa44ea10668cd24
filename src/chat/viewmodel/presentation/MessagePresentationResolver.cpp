#include "chat/viewmodel/presentation/MessagePresentationResolver.h"

#include "chat/viewmodel/presentation/ArtifactExtraction.h"
#include "chat/viewmodel/presentation/ChatMessageTextLength.h"
#include "chat/viewmodel/presentation/CueWords.h"
#include "chat/viewmodel/presentation/MessageSignals.h"
#include "chat/viewmodel/presentation/PresentationCache.h"
#include "chat/viewmodel/presentation/PresentationText.h"
#include "chat/viewmodel/presentation/SharedPattern.h"
#include "chat/viewmodel/presentation/StepPresentation.h"
#include "chat/viewmodel/presentation/StepWording.h"
#include "chat/viewmodel/presentation/UsageLine.h"

#include <algorithm>
#include <charconv>
#include <iterator>
#include <optional>

using namespace Qt::StringLiterals;

namespace halvex::MessagePresentationResolver {

namespace {

MessagePresentation base(const MessageSignals& cues, ChatSurface surface)
{
    MessagePresentation p;
    p.surface = surface;
    p.body = cues.body;
    return p;
}

std::optional<MessagePresentation> approval(const MessageSignals& cues, ChatSurface surface)
{
    if (cues.kind != u"self_edit_proposal" && cues.kind != u"orchestrator_propose_worker"
        && cues.kind != u"approval_request")
        return std::nullopt;
    MessagePresentation p = base(cues, surface);
    p.variant = MessageVariant::approval;
    const QString status = cues.status.trimmed().toLower();
    if (status.isEmpty() || status == u"pending") {
        p.title = QStringLiteral("Approval required");
        p.icon = QStringLiteral("checkmark.shield");
        p.tone = MessageTone::action;
        p.status = QStringLiteral("pending");
        p.actions = {PresentationAction::approve, PresentationAction::reject};
        return p;
    }
    p.title = QStringLiteral("Approval resolved");
    p.icon = QStringLiteral("checkmark.circle");
    p.tone = status == u"rejected" ? MessageTone::neutral : MessageTone::success;
    p.status = status + QStringLiteral(" for this response");
    return p;
}

std::optional<MessagePresentation> artifactCard(const ChatMessage& message, const MessageSignals& cues,
                                                ChatSurface surface)
{
    auto reference = ArtifactExtraction::artifact(message.metadata);
    if (!reference)
        return std::nullopt;
    MessagePresentation p = base(cues, surface);
    p.variant = ArtifactExtraction::isMediaType(reference->type) ? MessageVariant::media : MessageVariant::artifact;
    p.tone = MessageTone::info;
    p.icon = ArtifactExtraction::artifactIcon(reference->type);
    p.title = reference->name;
    p.destination = reference->url;
    if (ArtifactExtraction::hasDestination(*reference))
        p.actions = {PresentationAction::open};
    p.artifact = std::move(reference);
    return p;
}

std::optional<MessagePresentation> serviceNotice(const ChatMessage& message, const MessageSignals& cues,
                                                 ChatSurface surface)
{
    if (message.isStep()
        || (cues.kind != u"team_lesson" && cues.kind != u"turn_cancelled" && cues.kind != u"interrupted"))
        return std::nullopt;
    MessagePresentation p = base(cues, surface);
    p.variant = MessageVariant::service;
    p.tone = MessageTone::neutral;
    p.icon = QStringLiteral("info.circle");
    const QString text = PresentationText::cleanText(message.content);
    p.body = text.isEmpty() ? PresentationText::titleCase(cues.kind) : text;
    return p;
}

std::optional<MessagePresentation> usage(const ChatMessage& message, const MessageSignals& cues, ChatSurface surface)
{
    if (cues.kind != u"turn_spend")
        return std::nullopt;
    MessagePresentation p = base(cues, surface);
    p.variant = MessageVariant::usage;
    p.tone = MessageTone::neutral;
    p.status = QStringLiteral("done");
    p.icon = QStringLiteral("diamond.fill");
    p.body = UsageLine::text(message.metadata);
    return p;
}

std::optional<MessagePresentation> toolStatus(const ChatMessage& message, const MessageSignals& cues,
                                              ChatSurface surface)
{
    if (cues.kind != u"tool_status")
        return std::nullopt;
    MessagePresentation p = base(cues, surface);
    const StepCopy copy = StepWording::stepCopy(message, cues, false);
    p.icon = copy.icon;
    p.title = copy.title;
    if (CueWords::isOneOf(cues.status, {"running"_L1, "queued"_L1, "pending"_L1, "started"_L1, "working"_L1})) {
        p.variant = MessageVariant::progress;
        p.tone = MessageTone::info;
        p.status = cues.status.toLower();
    } else {
        p.variant = MessageVariant::event;
        p.tone = MessageTone::success;
        p.status = QStringLiteral("done");
    }
    return p;
}

// A line that opens with a sources label, possibly quoted, bulleted or in bold. The Russian
// plural is the same line the report parser folds into sources.
bool hasSourcesLine(const QString& text)
{
    static const QRegularExpression re
        = compiledPattern(QStringLiteral("(?:^|\\n)[ \\t>#*_-]*(?:Источник(?:и)?|Sources?)[*_]*\\s*:"));
    return searches(re, text);
}

MessagePresentation plain(const MessageSignals& cues, ChatSurface surface)
{
    MessagePresentation p = base(cues, surface);
    p.variant = MessageVariant::plain;
    p.tone = MessageTone::neutral;
    return p;
}

} // namespace

MessagePresentation resolve(const ChatMessage& message, ChatSurface surface)
{
    const MessageSignals cues = MessageSignals::of(message);
    if (auto p = approval(cues, surface))
        return *p;
    if (auto p = artifactCard(message, cues, surface))
        return *p;
    if (auto p = serviceNotice(message, cues, surface))
        return *p;
    // Goal runs report progress as goal steps whatever role the service gives them.
    if (message.isStep() || cues.kind == u"goal_step")
        return StepPresentation::present(message, cues, surface);
    if (auto p = usage(message, cues, surface))
        return *p;
    if (auto p = toolStatus(message, cues, surface))
        return *p;
    if (message.isAssistant() && hasSourcesLine(cues.body)) {
        MessagePresentation p = plain(cues, surface);
        p.variant = MessageVariant::report;
        p.title = QStringLiteral("Report");
        return p;
    }
    return plain(cues, surface);
}

namespace {

// The key with the text length already counted: a miss needs the length again as its cost.
QString keyOf(const ChatMessage& message, ChatSurface surface, qsizetype textLength)
{
    // Written in one pass into one buffer: every row of a streaming turn looks its presentation
    // up on every event.
    const QString kind = message.metadata.string(QStringLiteral("kind")).value_or(QString());
    const QString status = message.metadata.string(QStringLiteral("status")).value_or(QString());
    char id[24];
    char length[24];
    const char* idEnd = std::to_chars(std::begin(id), std::end(id), message.id).ptr;
    const char* lengthEnd = std::to_chars(std::begin(length), std::end(length), textLength).ptr;
    const qsizetype idSize = idEnd - id;
    const qsizetype lengthSize = lengthEnd - length;
    QString key(idSize + lengthSize + kind.size() + status.size() + 5, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(key.data());
    out = std::copy(static_cast<const char*>(id), idEnd, out);
    *out++ = u'|';
    *out++ = surface == ChatSurface::team ? u't' : u's';
    *out++ = u'|';
    out = std::copy_n(kind.utf16(), kind.size(), out);
    *out++ = u'|';
    out = std::copy_n(status.utf16(), status.size(), out);
    *out++ = u'|';
    std::copy(static_cast<const char*>(length), lengthEnd, out);
    return key;
}

} // namespace

QString cacheKey(const ChatMessage& message, ChatSurface surface)
{
    return keyOf(message, surface, ChatMessageTextLength::of(message));
}

std::shared_ptr<const MessagePresentation> cachedResolveShared(const ChatMessage& message, ChatSurface surface)
{
    // Without a readable id unrelated messages would share one key; they resolve every time.
    if (message.id == 0)
        return std::make_shared<const MessagePresentation>(resolve(message, surface));
    PresentationCache& cache = PresentationCache::shared();
    if (auto same = cache.findLast(message, surface))
        return same;
    const qsizetype textLength = ChatMessageTextLength::of(message);
    const QString key = keyOf(message, surface, textLength);
    auto p = cache.find(key);
    if (!p) {
        p = std::make_shared<const MessagePresentation>(resolve(message, surface));
        cache.insert(key, p, textLength);
    }
    cache.rememberLast(message, surface, p);
    return p;
}

MessagePresentation cachedResolve(const ChatMessage& message, ChatSurface surface)
{
    return *cachedResolveShared(message, surface);
}

} // namespace halvex::MessagePresentationResolver

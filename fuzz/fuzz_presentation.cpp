// Arbitrary JSON as a message or as its metadata: presentation and row building never crash,
// never offer an unsafe link, and no message is lost or doubled on the way into rows.
#include "chat/model/ChatMessage.h"
#include "chat/viewmodel/grouping/ChatStepGrouping.h"
#include "chat/viewmodel/presentation/MessagePresentationResolver.h"
#include "core/APIError.h"
#include "core/json/JSONValue.h"

#include <QByteArray>
#include <QList>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

using namespace halvex;

void check(bool ok)
{
    if (!ok)
        std::abort();
}

std::optional<ChatMessage> messageFrom(const QByteArray& bytes)
{
    JSONValue value;
    try {
        value = JSONValue::parse(bytes);
    } catch (const APIError&) {
        return std::nullopt;
    }
    try {
        if (value.isObject() && value.toObject().contains(QStringLiteral("metadata")))
            return decodeJSON<ChatMessage>(bytes);
    } catch (const APIError&) {
        return std::nullopt;
    }
    // Anything else is taken as the metadata of a step.
    ChatMessage m;
    m.id = 7;
    m.role = QStringLiteral("step");
    m.content = QStringLiteral("Working on the brief");
    m.metadata = MessageMetadata::fromJSON(value);
    return m;
}

void presentBoth(const ChatMessage& m)
{
    for (ChatSurface surface : {ChatSurface::solo, ChatSurface::team}) {
        const MessagePresentation p = MessagePresentationResolver::resolve(m, surface);
        check(p == MessagePresentationResolver::cachedResolve(m, surface) || m.id != 0);
        if (p.destination) {
            const QString scheme = p.destination->scheme().toLower();
            check(scheme == u"http" || scheme == u"https");
        }
        if (p.artifact && p.artifact->url) {
            const QString scheme = p.artifact->url->scheme().toLower();
            check(scheme == u"http" || scheme == u"https");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const auto decoded = messageFrom(bytes);
    if (!decoded)
        return 0;
    ChatMessage m = *decoded;
    presentBoth(m);

    // The message in a small chat: as itself, as a step and as an answer, between user turns.
    ChatMessage user;
    user.id = 1;
    user.role = QStringLiteral("user");
    QList<ChatMessage> chat{user, m};
    ChatMessage asStep = m;
    asStep.id = m.id + 1;
    asStep.role = QStringLiteral("step");
    ChatMessage asAnswer = m;
    asAnswer.id = m.id + 2;
    asAnswer.role = QStringLiteral("assistant");
    chat << asStep << asStep << asAnswer << user << asStep;

    for (ChatSurface surface : {ChatSurface::solo, ChatSurface::team}) {
        const QList<ChatRowItem> rows = ChatStepGrouping::rows(chat, surface);
        QList<qint64> covered;
        for (const ChatRowItem& row : rows)
            covered.append(row.scrollIds());
        QList<qint64> expected;
        for (const ChatMessage& c : chat)
            expected.append(c.id);
        std::sort(covered.begin(), covered.end());
        std::sort(expected.begin(), expected.end());
        check(covered == expected);

        GoalReviewItem review;
        review.runId = m.metadata.goalRunId().value_or(QStringLiteral("run"));
        const auto withReviews = GoalReviewRows::attach(rows, {review});
        check(withReviews.size() == rows.size() + (m.metadata.goalRunId() ? 1 : 0));

        const ReasoningCardModel card = ChatStepGrouping::reasoningCard(chat, surface, true);
        int shown = 0;
        for (const ReasoningBlock& block : card.collapsedBlocks)
            shown += int(block.stages.size());
        check(shown <= ChatStepGrouping::foldedStageLimit && shown + card.hiddenCount == card.stepCount);
    }
    return 0;
}

#include "chat/viewmodel/grouping/ReasoningCardBuilder.h"

#include "chat/model/StepStatus.h"
#include "chat/viewmodel/grouping/ReasoningStages.h"
#include "chat/viewmodel/grouping/StepLifecycle.h"
#include "chat/viewmodel/presentation/MessagePresentationResolver.h"
#include "chat/viewmodel/presentation/SharedPattern.h"

#include <QSet>

#include <algorithm>
#include <numeric>
#include <vector>

namespace halvex::ChatStepGrouping {

namespace {

bool isGenericText(const QString& text)
{
    return text == u"Working" || text == u"Done" || text == u"Working on it" || text == u"Work completed";
}

// Failures and hand-offs say most about how the work went; the final stage says how it ended.
int scoreOf(const ReasoningStage& stage, bool isLast)
{
    int score = 1;
    if (stage.isFailed)
        score += 8;
    if (stage.isHandoff)
        score += 6;
    if (!isGenericText(stage.text))
        score += 3;
    if (isLast)
        score += 2;
    return score;
}

QList<ReasoningStage> mergeRepeats(const QList<ReasoningStage>& stages)
{
    QList<ReasoningStage> out;
    QString lastKey;
    QSet<QString> mergedTargets; // of the last stage in `out`
    for (const ReasoningStage& stage : stages) {
        const QString key = stepDedupKey(stage.text);
        if (!out.isEmpty() && key == lastKey) {
            QStringList targets = std::move(out.last().targets);
            for (const QString& t : stage.targets) {
                if (!mergedTargets.contains(t)) {
                    mergedTargets.insert(t);
                    targets.append(t);
                }
            }
            out.last() = stage;
            out.last().targets = std::move(targets);
        } else {
            out.append(stage);
            mergedTargets = QSet<QString>(stage.targets.cbegin(), stage.targets.cend());
        }
        lastKey = key;
    }
    return out;
}

QStringList handoffTargets(const QList<ReasoningStage>& stages)
{
    QStringList names;
    QSet<QString> seen;
    for (const ReasoningStage& stage : stages) {
        for (const QString& target : stage.targets) {
            if (!seen.contains(target.toCaseFolded())) {
                seen.insert(target.toCaseFolded());
                names.append(target);
            }
        }
    }
    return names;
}

QString titleFor(const QList<ReasoningStage>& stages, ReasoningStatus status)
{
    if (stages.isEmpty())
        return status == ReasoningStatus::running ? QStringLiteral("Working on it") : QStringLiteral("Work completed");
    if (status == ReasoningStatus::failed)
        return QStringLiteral("Finished with an error");
    const QStringList targets = handoffTargets(stages);
    // Work that ended in a hand-off was handed off; work that went on after one was delegated.
    if (!targets.isEmpty() && stages.last().isHandoff)
        return QStringLiteral("Handed off to ") + nameList(targets);
    if (status == ReasoningStatus::running) {
        const QString actor = personName(stages.last().actor);
        return actor.isEmpty() ? QStringLiteral("Working on it") : actor + QStringLiteral(" is working\u2026");
    }
    if (!targets.isEmpty())
        return QStringLiteral("Delegated to ") + nameList(targets);
    return QStringLiteral("Work completed");
}

QList<ReasoningStage> foldedStages(const QList<ReasoningStage>& stages, ReasoningStatus status)
{
    if (stages.size() <= foldedStageLimit)
        return stages;
    if (status == ReasoningStatus::running)
        return stages.mid(stages.size() - foldedStageLimit);
    std::vector<qsizetype> order(size_t(stages.size()));
    std::iota(order.begin(), order.end(), 0);
    // Highest score first; among equals the more recent stage.
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        if (stages[a].score != stages[b].score)
            return stages[a].score > stages[b].score;
        return a > b;
    });
    order.resize(foldedStageLimit);
    std::sort(order.begin(), order.end());
    QList<ReasoningStage> shown;
    for (qsizetype index : order)
        shown.append(stages[index]);
    return shown;
}

} // namespace

ReasoningStage stageFor(const ChatMessage& message, ChatSurface surface, bool live)
{
    const auto presentation = MessagePresentationResolver::cachedResolveShared(message, surface);
    const QString status = message.metadata.string(QStringLiteral("status")).value_or(QString()).toLower();
    ReasoningStage stage;
    stage.id = message.id;
    stage.actor = stageActor(message);
    stage.isRunning = live && StepStatus::isRunning(status);
    stage.isFailed = StepStatus::isFailed(status) || presentation->variant == MessageVariant::alert;
    stage.text = presentation->title.isEmpty() ? QStringLiteral("Working") : presentation->title;
    static const QRegularExpression askedForHelp = compiledPattern(QStringLiteral("asked .+ to help"));
    if (searches(askedForHelp, stage.text))
        stage.text = QStringLiteral("Worked with another employee");
    if (!stage.isRunning && !stage.isFailed)
        stage.text = StepLifecycle::settledTitle(stage.text);
    const auto delegate = message.metadata.nonEmptyString(QStringLiteral("delegate_to"));
    if (delegate && delegate->compare(QLatin1String("team"), Qt::CaseInsensitive) != 0) {
        const QString name = personName(*delegate);
        if (!name.isEmpty()) {
            stage.isHandoff = true;
            stage.targets = {name};
        }
    }
    return stage;
}

ReasoningCardModel reasoningCard(const QList<ChatMessage>& messages, ChatSurface surface, bool live)
{
    QList<ReasoningStage> raw;
    raw.reserve(messages.size());
    for (const ChatMessage& message : messages)
        raw.append(stageFor(message, surface, live));
    QList<ReasoningStage> stages = mergeRepeats(raw);
    for (qsizetype i = 0; i < stages.size(); ++i)
        stages[i].score = scoreOf(stages[i], i + 1 == stages.size());

    ReasoningCardModel card;
    if (!stages.isEmpty() && stages.last().isFailed)
        card.status = ReasoningStatus::failed;
    else if (live && !stages.isEmpty() && stages.last().isRunning)
        card.status = ReasoningStatus::running;
    else
        card.status = ReasoningStatus::done;
    card.title = titleFor(stages, card.status);
    card.stepCount = int(stages.size());
    card.meta
        = QString::number(card.stepCount) + (card.stepCount == 1 ? QStringLiteral(" step") : QStringLiteral(" steps"));
    card.fullBlocks = blockify(stages);
    const QList<ReasoningStage> shown = foldedStages(stages, card.status);
    card.collapsedBlocks = blockify(shown);
    card.hiddenCount = int(stages.size() - shown.size());
    return card;
}

} // namespace halvex::ChatStepGrouping

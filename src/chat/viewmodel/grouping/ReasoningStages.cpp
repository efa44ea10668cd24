#include "chat/viewmodel/grouping/ReasoningStages.h"

namespace halvex::ChatStepGrouping {

QString stageActor(const ChatMessage& message)
{
    if (auto from = message.metadata.string(QStringLiteral("from")))
        return *from;
    return message.metadata.string(QStringLiteral("member_name")).value_or(QString());
}

QString personName(const QString& handle)
{
    QString out;
    out.reserve(handle.size());
    bool atWordStart = true;
    for (const QChar c : handle) {
        if (c == u'@')
            continue;
        if (c == u'-' || c == u'_' || c.isSpace()) {
            atWordStart = true;
            continue;
        }
        if (atWordStart && !out.isEmpty())
            out += u' ';
        out += atWordStart ? c.toUpper() : c;
        atWordStart = false;
    }
    return out;
}

QString stepDedupKey(const QString& text)
{
    QString key;
    key.reserve(text.size());
    bool pendingBlank = false;
    bool inNumber = false;
    for (const QChar c : text) {
        if (c.isDigit()) {
            if (!inNumber) {
                if (pendingBlank && !key.isEmpty())
                    key += u' ';
                pendingBlank = false;
                key += u'#';
            }
            inNumber = true;
            continue;
        }
        inNumber = false;
        if (c.isLetter()) {
            if (pendingBlank && !key.isEmpty())
                key += u' ';
            pendingBlank = false;
            key += c.toLower();
        } else if (c.isSpace()) {
            pendingBlank = true;
        }
        // Punctuation and symbols are dropped.
    }
    return key;
}

QString nameList(const QStringList& names)
{
    if (names.size() > 3)
        return names[0] + QStringLiteral(", ") + names[1] + QStringLiteral(" +") + QString::number(names.size() - 2);
    if (names.size() == 3)
        return names[0] + QStringLiteral(", ") + names[1] + QStringLiteral(" and ") + names[2];
    if (names.size() == 2)
        return names[0] + QStringLiteral(" and ") + names[1];
    return names.value(0);
}

QList<ReasoningBlock> blockify(const QList<ReasoningStage>& stages)
{
    QList<ReasoningBlock> blocks;
    for (const ReasoningStage& stage : stages) {
        if (blocks.isEmpty() || blocks.last().actor != stage.actor) {
            ReasoningBlock block;
            block.id = QStringLiteral("block-") + QString::number(stage.id);
            block.actor = stage.actor;
            block.hasActor = !stage.actor.isEmpty();
            blocks.append(std::move(block));
        }
        blocks.last().stages.append(stage);
    }
    return blocks;
}

} // namespace halvex::ChatStepGrouping

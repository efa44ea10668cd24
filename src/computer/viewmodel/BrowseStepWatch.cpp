#include "computer/viewmodel/BrowseStepWatch.h"

#include <QRegularExpression>

namespace halvex {

bool BrowseStepWatch::isBrowseStep(const ChatMessage& message)
{
    if (!message.isStep())
        return false;
    if (message.metadata.signalsBrowserActivity())
        return true;
    static const QRegularExpression browsing(QStringLiteral("browser|browse|navigate|computer"),
                                             QRegularExpression::CaseInsensitiveOption);
    const std::optional<QString> tool = message.metadata.toolIdentifier();
    return tool && browsing.match(*tool).hasMatch();
}

bool BrowseStepWatch::sawNewBrowseStep(const QList<ChatMessage>& messages)
{
    bool news = false;
    // Each message is looked at once: a step keeps its tool while it runs and finishes.
    for (const ChatMessage& m : messages) {
        if (m.id == 0 || m_seen.contains(m.id))
            continue;
        m_seen.insert(m.id);
        news = news || isBrowseStep(m);
    }
    const bool primed = m_primed;
    m_primed = true;
    return primed && news;
}

void BrowseStepWatch::reset()
{
    m_primed = false;
    m_seen.clear();
}

} // namespace halvex

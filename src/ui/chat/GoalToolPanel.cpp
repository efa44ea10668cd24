#include "ui/chat/GoalToolPanel.h"

namespace halvex {

GoalToolPanel::GoalToolPanel(GoalScope scope, APIClient& api, Clock& clock, QObject* parent)
    : QObject(parent),
      m_model(std::move(scope), api, clock)
{
    connect(&m_model, &ChatGoalToolModel::changed, this, &GoalToolPanel::changed);
}

QVariantList GoalToolPanel::rows() const
{
    QVariantList out;
    for (const GoalToolRow& r : m_model.rows()) {
        const QString tone = r.tone == GoalToolRow::Tone::attention ? QStringLiteral("attention")
            : r.tone == GoalToolRow::Tone::working                  ? QStringLiteral("working")
                                                                    : QStringLiteral("active");
        out << QVariantMap{{QStringLiteral("id"), r.id},
                           {QStringLiteral("title"), r.title},
                           {QStringLiteral("detail"), r.detail},
                           {QStringLiteral("status"), r.status},
                           {QStringLiteral("tone"), tone}};
    }
    return out;
}

QString GoalToolPanel::mode() const
{
    switch (m_model.mode().kind) {
    case GoalToolMode::Kind::list:
        return QStringLiteral("list");
    case GoalToolMode::Kind::create:
        return QStringLiteral("create");
    case GoalToolMode::Kind::question:
        return QStringLiteral("question");
    case GoalToolMode::Kind::done:
        return QStringLiteral("done");
    }
    return QStringLiteral("list");
}

QString GoalToolPanel::progress() const
{
    const GoalToolMode& m = m_model.mode();
    if (m.kind != GoalToolMode::Kind::question || m.total <= 0)
        return {};
    return QStringLiteral("Question %1 of %2").arg(m.step).arg(m.total);
}

void GoalToolPanel::answer(const QString& text)
{
    m_model.setAnswerDraft(text);
    m_model.submitAnswer();
}

void GoalToolPanel::backToList()
{
    m_model.close();
    m_model.refresh();
}

} // namespace halvex

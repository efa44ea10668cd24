#include "ChatSession.h"

#include "agents/sidebar/AgentListViewModel.h"
#include "session/auth/SessionViewModel.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMimeData>

namespace halvex {

ChatSession::ChatSession(APIClient& api, Clock& clock, AgentListViewModel& sidebar, SessionViewModel& session,
                         QObject* parent)
    : QObject(parent), m_api(api), m_clock(clock), m_sidebar(sidebar), m_session(session)
{
    connect(&m_sidebar, &AgentListViewModel::selectionChanged, this, &ChatSession::follow);
    connect(&m_sidebar, &AgentListViewModel::sectionsChanged, this, &ChatSession::follow);
    follow();
}

ChatSession::~ChatSession() { stop(); }

void ChatSession::stop()
{
    if (m_loop) {
        m_loop->stop();
        m_loop.release()->deleteLater();
    }
    if (m_teamMenu) {
        m_teamMenu->stop();
        m_teamMenu.release()->deleteLater();
    }
    if (m_chat) {
        disconnect(m_chat.get(), nullptr, this, nullptr);
        m_chat->stop();
        m_rows.reset(ChatSurface::solo);
        // QML may still read the old chat until it sees the change.
        m_chat.release()->deleteLater();
        Q_EMIT chatChanged();
    }
}

void ChatSession::follow()
{
    const std::optional<ChatBackend> backend = m_sidebar.selectedBackend();
    if (m_chat && backend && m_chat->backend().id() == backend->id())
        return;
    if (!m_chat && !backend)
        return;
    stop();
    if (!backend)
        return;
    m_chat = std::make_unique<ChatViewModel>(*backend, m_api, m_clock, m_sidebar.takePendingFirstMessage());
    m_chat->onUnauthorized = [this] { m_session.handleUnauthorized(); };
    const QString id = backend->id();
    m_chat->onRead = [this, id] { m_sidebar.clearUnread(id); };
    m_rows.reset(backend->isTeam() ? ChatSurface::team : ChatSurface::solo);
    ChatViewModel* chat = m_chat.get();
    connect(chat, &ChatViewModel::messagesChanged, this, [this, chat] { m_rows.setMessages(chat->messages()); });
    connect(chat, &ChatViewModel::changed, this, &ChatSession::showLiveState);
    if (backend->isAgent()) {
        m_loop = std::make_unique<LoopPanel>(backend->id(), m_api);
        connect(m_loop.get(), &LoopPanel::unauthorized, this, [this] { m_session.handleUnauthorized(); });
    } else if (const TeamTarget* team = backend->teamValue()) {
        m_teamMenu = std::make_unique<TeamMenu>(team->slug, m_api);
        connect(m_teamMenu.get(), &TeamMenu::unauthorized, this, [this] { m_session.handleUnauthorized(); });
    }
    m_chat->start();
    m_rows.setMessages(chat->messages());
    showLiveState();
    Q_EMIT chatChanged();
}

void ChatSession::showLiveState()
{
    if (!m_chat)
        return;
    m_rows.setLiveState(m_chat->isThinking(), m_chat->approvalBusy(), m_chat->approvalErrors());
    m_rows.setGoalReviews(m_chat->goalReviews(), m_chat->goalReviewBusy(), m_chat->goalReviewErrors());
}

void ChatSession::addFiles(const QList<QUrl>& urls)
{
    if (!m_chat)
        return;
    QStringList paths;
    for (const QUrl& url : urls)
        if (url.isLocalFile())
            paths << url.toLocalFile();
    if (!paths.isEmpty())
        m_chat->addFilePaths(paths);
}

bool ChatSession::pasteFiles()
{
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    if (!m_chat || !mime || !mime->hasUrls())
        return false;
    const QList<QUrl> urls = mime->urls();
    if (std::none_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); }))
        return false;
    addFiles(urls);
    return true;
}

void ChatSession::send()
{
    if (m_chat && !m_chat->isUploading())
        m_chat->send();
}

void ChatSession::loadOlder()
{
    if (m_chat)
        m_chat->loadOlderHistory();
}

void ChatSession::resolveApproval(qint64 messageId, bool approve)
{
    if (m_chat)
        m_chat->resolveApproval(messageId, approve ? ApprovalDecision::approve : ApprovalDecision::reject);
}

void ChatSession::acceptGoalResult(const QString& reviewKey)
{
    reviewGoal(reviewKey, QStringLiteral("accept"), {});
}

void ChatSession::requestGoalChanges(const QString& reviewKey, const QString& feedback)
{
    reviewGoal(reviewKey, QStringLiteral("needs_work"), feedback);
}

void ChatSession::reviewGoal(const QString& reviewKey, const QString& decision, const QString& feedback)
{
    if (!m_chat)
        return;
    for (const GoalReviewItem& item : m_chat->goalReviews())
        if (item.key() == reviewKey) {
            m_chat->submitGoalReview(item, decision, feedback);
            return;
        }
}

void ChatSession::openLink(const QString& url)
{
    const QUrl target(url);
    if (target.scheme() == QLatin1String("https") || target.scheme() == QLatin1String("http"))
        QDesktopServices::openUrl(target);
}

void ChatSession::copyText(const QString& text) { QGuiApplication::clipboard()->setText(text); }

QStringList ChatSession::stagedNames() const
{
    QStringList names;
    if (m_chat)
        for (const Attachment& file : m_chat->staged())
            names << file.name;
    return names;
}

} // namespace halvex

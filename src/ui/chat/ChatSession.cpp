#include "ui/chat/ChatSession.h"

#include "ui/chat/RenderWarming.h"
#include "ui/controls/Theme.h"

#include "chat/model/ChatChoiceParse.h"
#include "chat/viewmodel/presentation/MessagePresentationResolver.h"

#include "agents/viewmodel/AgentListViewModel.h"
#include "session/viewmodel/SessionViewModel.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <algorithm>

namespace halvex {

ChatSession::ChatSession(APIClient& api, Clock& clock, AgentListViewModel& sidebar, SessionViewModel& session,
                         QObject* parent)
    : QObject(parent),
      m_api(api),
      m_clock(clock),
      m_sidebar(sidebar),
      m_session(session),
      m_rows(&m_kept.at(0)),
      m_previewModel(api)
{
    connect(&m_previewModel, &ArtifactPreviewModel::unauthorized, this, [this] { m_session.handleUnauthorized(); });
    // Rendered text carries the scheme's colours: a scheme change renders it anew.
    if (Theme* theme = Theme::instance()) {
        m_kept.setInlineStyle(theme->inlineStyle());
        connect(theme, &Theme::changed, this, [this, theme] { m_kept.setInlineStyle(theme->inlineStyle()); });
    }
    m_find.setSource(m_rows, ChatMessageRows::TextRole, ChatMessageRows::IdRole);
    connect(&m_sidebar, &AgentListViewModel::selectionChanged, this, &ChatSession::follow);
    connect(&m_sidebar, &AgentListViewModel::sectionsChanged, this, &ChatSession::follow);
    follow();
}

ChatSession::~ChatSession() { stop(); }

void ChatSession::stop()
{
    const bool hadChat = m_chat != nullptr;
    closeChat();
    m_kept.clear();
    if (hadChat)
        Q_EMIT chatChanged();
}

void ChatSession::closeChat()
{
    m_previewModel.close();
    if (m_loop) {
        m_loop->stop();
        m_loop.release()->deleteLater();
    }
    if (m_connections)
        m_connections.release()->deleteLater();
    if (m_goals) {
        m_goals->model().close();
        m_goals.release()->deleteLater();
    }
    if (m_teamMenu) {
        m_teamMenu->stop();
        m_teamMenu.release()->deleteLater();
    }
    if (m_chat) {
        disconnect(m_chat.get(), nullptr, this, nullptr);
        m_chat->stop();
        // QML may still read the old chat until it sees the change.
        m_chat.release()->deleteLater();
    }
}

void ChatSession::follow()
{
    const std::optional<ChatBackend> backend = m_sidebar.selectedBackend();
    if (m_chat && backend && m_chat->backend().id() == backend->id())
        return;
    if (!m_chat && !backend)
        return;
    closeChat();
    if (!backend) {
        Q_EMIT chatChanged();
        return;
    }
    m_chat = std::make_unique<ChatViewModel>(*backend, m_api, m_clock, m_sidebar.takePendingFirstMessage());
    connect(m_chat.get(), &ChatViewModel::unauthorized, &m_session, &SessionViewModel::handleUnauthorized);
    const QString id = backend->id();
    m_chat->onRead = [this, id] { m_sidebar.clearUnread(id); };
    const ChatSurface surface = backend->isTeam() ? ChatSurface::team : ChatSurface::solo;
    m_rowsSlot = m_kept.take(id, surface);
    m_rows = &m_kept.at(m_rowsSlot);
    m_find.setSource(m_rows, ChatMessageRows::TextRole, ChatMessageRows::IdRole);
    // The cached copy shows first; every history load after it warms the newest messages again.
    const QList<ChatMessage>& cached = m_chat->messages();
    warmRenderCachesInBackground(cached.mid(qMax<qsizetype>(0, cached.size() - ChatViewModel::renderWarmLimit)),
                                 surface, m_rows->inlineStyle());
    m_chat->warmRenderCaches = [this, surface](const QList<ChatMessage>& newest) {
        warmRenderCachesInBackground(newest, surface, m_rows->inlineStyle());
    };
    ChatViewModel* chat = m_chat.get();
    connect(chat, &ChatViewModel::messagesChanged, this, &ChatSession::showMessages);
    connect(chat, &ChatViewModel::changed, this, &ChatSession::showLiveState);
    m_goals = std::make_unique<GoalToolPanel>(backend->isAgent() ? GoalScope::agent(backend->id())
                                                                 : GoalScope::team(backend->teamValue()->slug),
                                              m_api, m_clock);
    if (backend->isAgent()) {
        m_loop = std::make_unique<LoopPanel>(backend->id(), m_api);
        connect(m_loop.get(), &LoopPanel::unauthorized, this, [this] { m_session.handleUnauthorized(); });
        m_connections = std::make_unique<ConnectionsPanel>(backend->id(), backend->agentValue()->name, m_api);
        connect(m_connections.get(), &ConnectionsPanel::unauthorized, this, [this] { m_session.handleUnauthorized(); });
    } else if (const TeamTarget* team = backend->teamValue()) {
        m_teamMenu = std::make_unique<TeamMenu>(team->slug, m_api);
        connect(m_teamMenu.get(), &TeamMenu::unauthorized, this, [this] { m_session.handleUnauthorized(); });
        // Part of the sidebar shows the roster: a member who joined, left or was renamed shows there too.
        connect(m_teamMenu.get(), &TeamMenu::membersChanged, &m_sidebar, &AgentListViewModel::load);
    }
    m_rowsVersion = -1;
    m_chat->start();
    showMessages();
    showLiveState();
    Q_EMIT chatChanged();
}

void ChatSession::showMessages()
{
    if (!m_chat)
        return;
    m_rows->setMessages(m_chat->messages(), m_chat->unchangedSince(m_rowsVersion));
    m_rowsVersion = m_chat->messagesVersion();
}

void ChatSession::showLiveState()
{
    if (!m_chat)
        return;
    // A turn that stops working has spent something: the usage meter reads the plan again.
    const bool thinking = m_chat->isThinking();
    if (m_wasThinking && !thinking)
        Q_EMIT turnFinished();
    m_wasThinking = thinking;
    m_rows->setLiveState(thinking, m_chat->approvalBusy(), m_chat->approvalErrors());
    m_rows->setGoalReviews(m_chat->goalReviews(), m_chat->goalReviewBusy(), m_chat->goalReviewErrors());
}

QString ChatSession::lastAnswer() const
{
    if (!m_chat)
        return {};
    const QList<ChatMessage>& messages = m_chat->messages();
    // A turn may end on an assistant message with no text (its usage line): the answer is before it.
    for (auto it = messages.crbegin(); it != messages.crend(); ++it)
        if (it->isAssistant())
            if (QString text = ChatChoiceParse::parse(it->content, it->metadata).text.trimmed(); !text.isEmpty())
                return text;
    return {};
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

void ChatSession::acceptGoalResult(const QString& reviewKey) { reviewGoal(reviewKey, QStringLiteral("accept"), {}); }

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

void ChatSession::openArtifact(qint64 messageId)
{
    if (!m_chat)
        return;
    const auto found = std::find_if(m_chat->messages().cbegin(), m_chat->messages().cend(),
                                    [messageId](const ChatMessage& m) { return m.id == messageId; });
    if (found == m_chat->messages().cend())
        return;
    const ChatSurface surface = m_chat->backend().isTeam() ? ChatSurface::team : ChatSurface::solo;
    const auto presentation = MessagePresentationResolver::cachedResolveShared(*found, surface);
    if (!presentation->artifact || !ArtifactPreviewModel::canPreview(*presentation->artifact))
        return;
    // In a team chat the artifact belongs to the teammate who made it; without one it cannot open.
    const std::optional<QString> owner = m_chat->artifactAgentID(*found);
    if (!owner)
        return;
    m_previewModel.open(*presentation->artifact, *owner);
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

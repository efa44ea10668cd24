#pragma once
// The open chat of the main window: one ChatViewModel for the sidebar's selected target,
// replaced (the old one stopped) whenever the selection moves to another target. The rows of
// recently opened chats are kept with their lists, so going back to one shows it at once.
#include "chat/viewmodel/ChatFindModel.h"
#include "chat/viewmodel/ChatViewModel.h"
#include "ui/chat/ArtifactPreview.h"
#include "ui/chat/ChatMessageRows.h"
#include "ui/chat/ConnectionsPanel.h"
#include "ui/chat/GoalToolPanel.h"
#include "ui/chat/KeptChatRows.h"
#include "ui/chat/LoopPanel.h"
#include "ui/teams/TeamMenu.h"

#include <QObject>
#include <QUrl>
#include <QtQml/qqml.h>
#include <QtQml/qqmlregistration.h>

#include <memory>

namespace halvex {

class AgentListViewModel;
class APIClient;
class Clock;
class SessionViewModel;

// The chat view model as QML sees it: read and called, never created there.
struct ChatViewModelForeign {
    Q_GADGET
    QML_FOREIGN(halvex::ChatViewModel)
    QML_NAMED_ELEMENT(ChatViewModel)
    QML_UNCREATABLE("Owned by the chat session")
};

struct ChatFindModelForeign {
    Q_GADGET
    QML_FOREIGN(halvex::ChatFindModel)
    QML_NAMED_ELEMENT(ChatFindModel)
    QML_UNCREATABLE("Owned by the chat session")
};

class ChatSession : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the app shell")
    Q_PROPERTY(halvex::ChatViewModel* chat READ chat NOTIFY chatChanged)
    // The open chat's rows: one of `keptRows`, at `rowsSlot`.
    Q_PROPERTY(QAbstractListModel* rows READ rows NOTIFY chatChanged)
    Q_PROPERTY(QList<QObject*> keptRows READ keptRows CONSTANT)
    Q_PROPERTY(int rowsSlot READ rowsSlot NOTIFY chatChanged)
    // A single employee's loop settings; none in a team chat.
    Q_PROPERTY(halvex::LoopPanel* loop READ loop NOTIFY chatChanged)
    // A single employee's channels and connected accounts; none in a team chat.
    Q_PROPERTY(halvex::ConnectionsPanel* connections READ connections NOTIFY chatChanged)
    // The goals of the open chat, an employee's or a team's.
    Q_PROPERTY(halvex::GoalToolPanel* goals READ goals NOTIFY chatChanged)
    // The team's menu; none in a single employee's chat.
    Q_PROPERTY(halvex::TeamMenu* teamMenu READ teamMenu NOTIFY chatChanged)
    // The table or note opened from an artifact chip.
    Q_PROPERTY(halvex::ArtifactPreview* preview READ preview CONSTANT)
    // Find in the open chat, over its loaded rows.
    Q_PROPERTY(halvex::ChatFindModel* find READ find CONSTANT)
public:
    ChatSession(APIClient& api, Clock& clock, AgentListViewModel& sidebar, SessionViewModel& session,
                QObject* parent = nullptr);
    ~ChatSession() override;

    ChatViewModel* chat() const { return m_chat.get(); }
    QAbstractListModel* rows() { return m_rows; }
    QList<QObject*> keptRows() const { return m_kept.all(); }
    int rowsSlot() const { return m_rowsSlot; }
    LoopPanel* loop() const { return m_loop.get(); }
    ConnectionsPanel* connections() const { return m_connections.get(); }
    GoalToolPanel* goals() const { return m_goals.get(); }
    TeamMenu* teamMenu() const { return m_teamMenu.get(); }
    ArtifactPreview* preview() { return &m_preview; }
    ChatFindModel* find() { return &m_find; }

    // Local files from the file button, a drop or a paste; other addresses are ignored.
    Q_INVOKABLE void addFiles(const QList<QUrl>& urls);
    // Stages the clipboard's local files; false when it holds none (the paste is then text).
    Q_INVOKABLE bool pasteFiles();
    Q_INVOKABLE void send();
    Q_INVOKABLE void loadOlder();
    Q_INVOKABLE void resolveApproval(qint64 messageId, bool approve);
    // A goal result waiting for review, by its key: accepted, or sent back with what to change.
    Q_INVOKABLE void acceptGoalResult(const QString& reviewKey);
    Q_INVOKABLE void requestGoalChanges(const QString& reviewKey, const QString& feedback);
    // A table or note artifact of the message opens in the preview; other artifacts open their
    // address (through Links).
    Q_INVOKABLE void openArtifact(qint64 messageId);
    Q_INVOKABLE void copyText(const QString& text);
    // The staged files' names, for the chips above the composer.
    Q_INVOKABLE QStringList stagedNames() const;
    // The newest answer's text as a reader sees it, for a screen reader once a turn finishes;
    // empty when the chat has none.
    Q_INVOKABLE QString lastAnswer() const;

    // Signed out: the chat stops and every kept chat's rows empty.
    void stop();

Q_SIGNALS:
    void chatChanged();
    void turnFinished();

private:
    void follow();
    // Stops the open chat and its panels; its rows stay kept.
    void closeChat();
    void showMessages();
    void showLiveState();
    void reviewGoal(const QString& reviewKey, const QString& decision, const QString& feedback);

    bool m_wasThinking = false;
    APIClient& m_api;
    Clock& m_clock;
    AgentListViewModel& m_sidebar;
    SessionViewModel& m_session;
    std::unique_ptr<ChatViewModel> m_chat;
    std::unique_ptr<LoopPanel> m_loop;
    std::unique_ptr<ConnectionsPanel> m_connections;
    std::unique_ptr<GoalToolPanel> m_goals;
    std::unique_ptr<TeamMenu> m_teamMenu;
    KeptChatRows m_kept;
    ChatMessageRows* m_rows = nullptr;
    int m_rowsSlot = 0;
    int m_rowsVersion = -1; // the chat's `messagesVersion` the rows show
    ArtifactPreviewModel m_previewModel;
    ArtifactPreview m_preview{m_previewModel};
    ChatFindModel m_find;
};

} // namespace halvex

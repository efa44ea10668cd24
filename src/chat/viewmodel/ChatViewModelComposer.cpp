// The composer's side of the chat: sending turns (optimistic, reconciled by id), staging and uploading files.
#include "chat/viewmodel/ChatViewModel.h"

#include "chat/viewmodel/MessageOrdering.h"
#include "core/async/Failure.h"
#include "core/format/MimeType.h"
#include "core/net/APIClient.h"

#include <QFile>
#include <QFileInfo>
#include <QUuid>

namespace halvex {

QCoro::Task<void> ChatViewModel::send(std::optional<QString> textOverride)
{
    const bool fromInput = !textOverride.has_value();
    const QString text = (fromInput ? m_input : *textOverride).trimmed();
    if (isUploading() || (text.isEmpty() && m_staged.isEmpty()))
        co_return;
    setError(std::nullopt); // a new turn: the last failure has been read
    if (fromInput)
        m_input.clear();
    QList<Attachment> attachments = m_staged;
    m_staged.clear();
    co_await sendTurn(text, fromInput, attachments);
}

QCoro::Task<void> ChatViewModel::sendTurn(QString text, bool fromInput, QList<Attachment> attachments)
{
    const QString clientRequestId = QUuid::createUuid().toString(QUuid::WithoutBraces);
    m_isThinking = true;
    m_pendingInitialTurn = false;

    ChatMessage optimistic;
    optimistic.id = m_tempId--;
    optimistic.role = QStringLiteral("user");
    optimistic.content = text;
    const qint64 tempId = optimistic.id;
    m_messages.append(optimistic);
    if (m_indexById)
        m_indexById->insert(tempId, m_messages.size() - 1);
    bumpVersion();
    Q_EMIT changed();

    const CancelToken token = m_scope.token();
    try {
        if (const Agent* agent = m_backend.agentValue()) {
            const SendResponse response = co_await m_chat.send(agent->id, text, attachments, clientRequestId, token);
            if (token.isCancelled())
                co_return;
            const qsizetype at = indexOf(tempId);
            if (response.message) {
                const ChatMessage& stored = *response.message;
                if (at >= 0 && indexOf(stored.id) < 0) {
                    m_messages[at] = stored;
                    m_indexById.reset();
                    if (at + 1 < m_messages.size() && MessageOrdering::precedes(m_messages[at + 1].id, stored.id))
                        MessageOrdering::sort(m_messages);
                    m_seenIds.insert(stored.id);
                    bumpVersion();
                } else {
                    // The stream was first: the stored turn is already in the list.
                    if (at >= 0) {
                        m_messages.removeAt(at);
                        m_indexById.reset();
                        bumpVersion();
                    }
                    ingest(stored);
                }
            } else if (at >= 0) {
                m_messages.removeAt(at);
                m_indexById.reset();
                bumpVersion();
            }
            // The whole reply may have streamed in before this answer: only now is the
            // optimistic turn out of the way of the working indicator.
            recomputeThinking();
            storeInCache();
            Q_EMIT changed();
        } else {
            co_await m_team.send(m_backend.teamValue()->slug, text, attachments, token);
            if (token.isCancelled())
                co_return;
            m_settledTempIds.insert(tempId);
            co_await loadHistory(true);
        }
    } catch (...) {
        const std::exception_ptr error = std::current_exception();
        if (token.isCancelled() || isCancellation(error))
            co_return;
        const qsizetype at = indexOf(tempId);
        if (at >= 0) {
            m_messages.removeAt(at);
            m_indexById.reset();
            bumpVersion();
        }
        m_settledTempIds.remove(tempId);
        if (fromInput && m_input.isEmpty())
            m_input = text;
        // The turn's files come back first; files staged while it was sent fill what room is left.
        m_staged = attachments + m_staged;
        if (m_staged.size() > maxStaged)
            m_staged.resize(maxStaged);
        fail(error);
        recomputeThinking();
        Q_EMIT changed();
    }
}

// --- files -------------------------------------------------------------------------------------------

QCoro::Task<void> ChatViewModel::addFilePaths(QStringList paths)
{
    QList<LocalFile> files;
    for (const QString& path : paths) {
        const QFileInfo info(path);
        if (info.size() > maxUploadBytes)
            continue;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            setError(QStringLiteral("Could not read “") + info.fileName() + QStringLiteral("”."));
            continue;
        }
        files.append({info.fileName(), file.readAll()});
    }
    co_await addFiles(files);
}

QCoro::Task<void> ChatViewModel::addFiles(QList<LocalFile> files)
{
    // One upload at a time: files added meanwhile could not be counted against the five.
    if (!canAttach())
        co_return;
    setError(std::nullopt);
    QString target;
    if (const Agent* agent = m_backend.agentValue()) {
        target = agent->id;
    } else {
        // The orchestrator hands files on; any member with an agent id can receive them.
        if (m_rosterAgentIDs.isEmpty()) {
            setError(QStringLiteral("Files are not ready yet — wait for the roster to load."));
            co_return;
        }
        target = m_rosterAgentIDs.first();
    }
    const qsizetype room = maxStaged - m_staged.size();
    QList<MultipartFile> parts;
    for (const LocalFile& file : files) {
        if (parts.size() >= room)
            break;
        if (file.data.size() > maxUploadBytes)
            continue;
        parts.append({QStringLiteral("file"), file.name, MimeType::from(file.name), file.data});
    }
    if (parts.isEmpty())
        co_return;
    co_await uploadTo(target, parts);
}

QCoro::Task<void> ChatViewModel::uploadTo(QString agentId, QList<MultipartFile> files)
{
    const CancelToken token = m_scope.token();
    ++m_uploadRuns;
    Q_EMIT changed();
    try {
        const QList<Attachment> uploaded = co_await m_chat.uploadFiles(agentId, files, token);
        if (token.isCancelled())
            co_return;
        for (const Attachment& a : uploaded) {
            if (a.error)
                setError(*a.error);
            else if (m_staged.size() < maxStaged)
                m_staged.append(a);
        }
    } catch (...) {
        if (token.isCancelled())
            co_return;
        fail(std::current_exception());
    }
    --m_uploadRuns;
    Q_EMIT changed();
}

void ChatViewModel::removeStaged(int index)
{
    if (index < 0 || index >= m_staged.size())
        return;
    m_staged.removeAt(index);
    Q_EMIT changed();
}

// --- approvals -------------------------------------------------------------------------------------

} // namespace halvex

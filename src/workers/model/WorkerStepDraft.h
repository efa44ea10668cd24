#pragma once
// One editable step of a worker's pipeline, and its reading from and writing to the playbook
// JSON the service stores.
#include "core/json/JSONValue.h"

#include <QByteArray>
#include <QUuid>

#include <exception>

namespace halvex {

// A message meant for the person, carried as an exception so that the standard error text of
// a view model (errorText) shows it unchanged.
class WorkerBuilderError : public std::exception {
public:
    explicit WorkerBuilderError(const QString& message) : m_utf8(message.toUtf8()) {}
    // A tool step whose arguments text is not a JSON object.
    static WorkerBuilderError badArgs(const QString& stepName);
    QString description() const { return QString::fromUtf8(m_utf8); }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QByteArray m_utf8;
};

struct WorkerStepDraft {
    QUuid id = QUuid::createUuid();
    QString type = QStringLiteral("llm"); // "llm", "browse" or "tool"
    QString name;
    QString prompt;       // llm
    QString url;          // browse
    QString instructions; // browse
    QString toolId;       // tool
    QString argsJSON = QStringLiteral("{}");

    static QString defaultName(const QString& type);
    static WorkerStepDraft from(const JSONValue& json);
    // Throws WorkerBuilderError::badArgs when the arguments text is not a JSON object.
    JSONObject toJSON() const;

    // Equal content, whatever the local identity.
    bool sameContent(const WorkerStepDraft& other) const;
};

// The steps of a draft's "playbook" (none when it has no list).
QList<WorkerStepDraft> stepsOf(const JSONObject& draft);

} // namespace halvex

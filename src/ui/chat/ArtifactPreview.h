#pragma once
// A table or note preview as QML reads it: the preview model's state in plain fields.
#include "chat/viewmodel/ArtifactPreviewModel.h"

#include <QObject>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

namespace halvex {

class ArtifactPreview : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the chat session")
    Q_PROPERTY(bool open READ isOpen NOTIFY changed)
    Q_PROPERTY(bool loading READ isLoading NOTIFY changed)
    Q_PROPERTY(QString kind READ kind NOTIFY changed)
    Q_PROPERTY(QString title READ title NOTIFY changed)
    Q_PROPERTY(QString error READ error NOTIFY changed)
    Q_PROPERTY(QStringList columns READ columns NOTIFY changed)
    Q_PROPERTY(QVariantList rows READ rows NOTIFY changed)
    Q_PROPERTY(QString countText READ countText NOTIFY changed)
    Q_PROPERTY(QVariantList noteBlocks READ noteBlocks NOTIFY changed)
public:
    explicit ArtifactPreview(ArtifactPreviewModel& model, QObject* parent = nullptr);

    bool isOpen() const { return m_model.state() != ArtifactPreviewModel::State::closed; }
    bool isLoading() const { return m_model.state() == ArtifactPreviewModel::State::loading; }
    // "table", "note" or "" while loading or failed.
    QString kind() const;
    QString title() const { return m_model.title(); }
    QString error() const { return m_model.error(); }
    QStringList columns() const;
    // One list of cell texts per row, in column order.
    QVariantList rows() const;
    // "3 rows", or "50 of 312 rows" when the preview holds the first rows only.
    QString countText() const;
    // The note's text as answer blocks, rendered like a message.
    QVariantList noteBlocks() const;

    Q_INVOKABLE void close() { m_model.close(); }

    // A cell as text: strings as they are, numbers without a trailing fraction, true/false as
    // Yes/No, nothing for null, objects and lists as compact JSON.
    static QString cellText(const JSONValue& value);

Q_SIGNALS:
    void changed();

private:
    ArtifactPreviewModel& m_model;
};

} // namespace halvex

#pragma once
// The document viewer as QML reads it: the preview model's state in plain fields. The signed-in
// view owns one; every document link of the app lands here through `Links`.
#include "media/viewmodel/DocumentPreviewModel.h"

#include <QObject>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

namespace halvex {

class DocumentViewer : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Owned by the app shell")
    Q_PROPERTY(bool open READ isOpen NOTIFY changed)
    Q_PROPERTY(bool loading READ isLoading NOTIFY changed)
    Q_PROPERTY(QString kind READ kind NOTIFY changed)
    Q_PROPERTY(QString title READ title NOTIFY changed)
    Q_PROPERTY(QUrl file READ file NOTIFY changed)
    Q_PROPERTY(QString text READ text NOTIFY changed)
    Q_PROPERTY(QVariantList markdownBlocks READ markdownBlocks NOTIFY changed)
    Q_PROPERTY(QStringList columns READ columns NOTIFY changed)
    Q_PROPERTY(QVariantList rows READ rows NOTIFY changed)
    Q_PROPERTY(QString notice READ notice NOTIFY changed)
    Q_PROPERTY(QString error READ error NOTIFY changed)
public:
    DocumentViewer(APIClient& api, DocumentPreviewModel::DesktopOpener desktop, QObject* parent = nullptr);

    DocumentPreviewModel& model() { return m_model; }

    // Open while loading, showing, failed, or after handing the file to the desktop (which says so).
    bool isOpen() const { return m_model.state() != DocumentPreviewModel::State::closed; }
    bool isLoading() const { return m_model.state() == DocumentPreviewModel::State::loading; }
    // "pdf", "markdown", "image", "text", "table", "external", "failed", or "" while loading.
    QString kind() const;
    QString title() const { return m_model.title(); }
    QUrl file() const;
    QString text() const { return m_model.text(); }
    QVariantList markdownBlocks() const;
    QStringList columns() const { return m_model.table().columns; }
    QVariantList rows() const;
    QString notice() const { return m_model.notice(); }
    QString error() const { return m_model.error(); }

    Q_INVOKABLE void show(const QUrl& url, const QString& name, const QString& mime);
    Q_INVOKABLE bool openWithDesktop() { return m_model.openWithDesktop(); }
    Q_INVOKABLE void close() { m_model.close(); }

Q_SIGNALS:
    void changed();
    void unauthorized();

private:
    DocumentPreviewModel m_model;
};

} // namespace halvex

#pragma once
// The document a user opened from a message or a project, readied for the viewer it needs: a
// PDF, a picture or an office file is downloaded into the document cache; Markdown and the
// text-like formats are also read for the in-app preview (tables for csv and tsv). Formats the
// app cannot show go to the desktop's default application, web pages to the browser. Opening
// another document supersedes the one loading; closing drops a late answer.
#include "core/async/LatestOnly.h"
#include "core/net/APIClient.h"
#include "media/model/DelimitedText.h"
#include "media/model/DocumentRouter.h"

#include <QObject>
#include <QUrl>

#include <qcorotask.h>

#include <functional>

namespace halvex {

class DocumentPreviewModel : public QObject {
    Q_OBJECT
public:
    enum class State { closed, loading, pdf, markdown, image, text, table, external, failed };
    // Hands a web page or a cached file to the desktop; false when nothing could open it.
    using DesktopOpener = std::function<bool(const QUrl&)>;

    static constexpr qsizetype maxPreviewCharacters = 200'000;
    static constexpr qsizetype maxPreviewRows = 1'000;

    DocumentPreviewModel(APIClient& api, DesktopOpener desktop, QObject* parent = nullptr);

    State state() const { return m_state; }
    QString title() const { return m_title; }
    // The downloaded copy, once there is one.
    QString localFile() const { return m_localFile; }
    // Markdown or plain text, cut at maxPreviewCharacters.
    QString text() const { return m_text; }
    const DelimitedTable& table() const { return m_table; }
    // "Showing the first 1,000 of 5,210 rows." and the like; empty when everything shows.
    QString notice() const { return m_notice; }
    QString error() const { return m_error; }

    QCoro::Task<void> open(std::optional<QString> name, QUrl url, std::optional<QString> mime);
    // The downloaded copy in the desktop's application for its type.
    bool openWithDesktop();
    void close();

    // csv, tsv, json, xml, yaml, yml, log and txt show inside the app.
    static bool previewsAsText(const QString& extension);

Q_SIGNALS:
    void changed();
    void unauthorized();

private:
    QCoro::Task<void> readPreview(QString path, QString extension, CancelToken token);
    void fail(const QString& text);
    void setState(State state);

    APIClient& m_api;
    DesktopOpener m_desktop;
    LatestOnly m_load;
    State m_state = State::closed;
    QString m_title;
    QString m_localFile;
    QString m_text;
    DelimitedTable m_table;
    QString m_notice;
    QString m_error;
};

} // namespace halvex

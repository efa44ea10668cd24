#pragma once
// Sends local files to a project as one multipart request. Files refused here (too many, too
// large, unreadable) are reported in front of the service's own per-file failures.
#include "core/async/CancelToken.h"
#include "projects/model/ProjectRecords.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>

#include <qcorotask.h>

#include <optional>

namespace halvex {

class APIClient;

class ProjectUploader {
public:
    static constexpr int maxFiles = 20;
    static constexpr qint64 maxFileBytes = 10'485'760;

    struct Failed {
        QString name;
        QString error;
        static Failed decode(const JsonReader& json);
        bool operator==(const Failed&) const = default;
    };
    struct Response {
        std::optional<QList<ProjectFile>> files;
        std::optional<QList<Failed>> failed;
        static Response decode(const JsonReader& json);
    };
    struct Selection {
        QList<QUrl> files;
        int overflow = 0; // dropped beyond the limit
    };
    struct Part {
        QString fileName;
        QString mime;
        QByteArray data;
    };

    // Local files only, each path once, the first 20 in order.
    static Selection selection(const QList<QUrl>& urls);
    static QCoro::Task<Response> upload(QList<QUrl> files, QString slug, APIClient& api, CancelToken token = {});

    static QString newBoundary();
    static QByteArray body(const QList<Part>& parts, const QString& boundary);
    // The name as it may stand inside the quoted filename of a part header.
    static QString headerSafeFileName(const QString& name);
};

} // namespace halvex

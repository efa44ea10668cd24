#pragma once
// A file attached to a turn; also what an upload answers for each file.
#include "core/json/JSONValue.h"
#include "core/json/JsonReader.h"

#include <QList>
#include <QString>

#include <optional>

namespace halvex {

struct Attachment {
    QString name;
    qint64 size = 0;
    QString mime;
    std::optional<QString> text; // extracted text of the file
    std::optional<QString> url;
    std::optional<QString> key; // storage key; never sent back with a turn
    std::optional<QString> kind;
    std::optional<bool> ok;
    std::optional<QString> error; // why the upload of this file failed

    static Attachment decode(const JsonReader& json);
    JSONObject encode() const;
    // What a send carries for this file: no key, ok or error.
    JSONObject chatPayload() const;
    bool operator==(const Attachment&) const = default;
};

struct FilesUploadResponse {
    QList<Attachment> files;
    static FilesUploadResponse decode(const JsonReader& json);
};

} // namespace halvex

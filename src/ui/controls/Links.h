#pragma once
// The one way a click on a link leaves the app. Rendered text only carries http, https and
// mailto links, and every click is checked again here, whichever card, cell or heading it came
// from, so a link that slipped past rendering still opens nothing. A link to a document (a PDF,
// a picture, Markdown, a spreadsheet) goes to the in-app document viewer once one is set.
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include <functional>

namespace halvex {

class Links : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
public:
    explicit Links(QObject* parent = nullptr) : QObject(parent) {}

    // Opens `url` in the desktop's handler, or a document's address in the document viewer,
    // when it may be opened; false when it was refused.
    Q_INVOKABLE bool open(const QString& url) const;
    // A file with its own name and type (an attachment, a project file): the viewer decides by
    // those too, since a download address often has no extension.
    Q_INVOKABLE bool openDocument(const QString& url, const QString& name, const QString& mime) const;

    // Tests replace the desktop's handler to see what would have opened.
    static void setOpener(std::function<bool(const QUrl&)> opener);
    // The signed-in view's document viewer; empty while signed out.
    using DocumentOpener = std::function<bool(const QUrl&, const QString& name, const QString& mime)>;
    static void setDocumentOpener(DocumentOpener opener);
    // What a web page or a downloaded file opens with: the desktop's handler unless a test set one.
    static bool openOnDesktop(const QUrl& url);
};

} // namespace halvex

#pragma once
// The one way a click on a link leaves the app. Rendered text only carries http, https and
// mailto links, and every click is checked again here, whichever card, cell or heading it came
// from, so a link that slipped past rendering still opens nothing.
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

    // Opens `url` in the desktop's handler when it may be opened; false when it was refused.
    Q_INVOKABLE bool open(const QString& url) const;

    // Tests replace the desktop's handler to see what would have opened.
    static void setOpener(std::function<bool(const QUrl&)> opener);
};

} // namespace halvex

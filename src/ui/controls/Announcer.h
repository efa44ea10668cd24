#pragma once
// What the app tells a screen reader without the reader moving there: an answer that finished,
// for one. Qt 6.4 has no announcement event, so the words become the accessible name of a
// static text each window keeps for this (`LiveRegion`), and the name change is what an
// assistive technology hears. Everything goes through `announce`, so the day Qt has the
// announcement event only this class changes.
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

class QQmlEngine;
class QJSEngine;

namespace halvex {

class Announcer : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(QString message READ message NOTIFY messageChanged)
public:
    static Announcer& instance();
    static Announcer* create(QQmlEngine*, QJSEngine*);

    QString message() const { return m_message; }
    // One line of plain text, cut at a length a listener can follow; the same words twice are
    // heard twice.
    Q_INVOKABLE void announce(const QString& text);

    static constexpr qsizetype kMaxLength = 300;

Q_SIGNALS:
    void messageChanged();

private:
    Announcer() = default;
    QString m_message;
};

} // namespace halvex

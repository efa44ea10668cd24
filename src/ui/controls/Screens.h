#pragma once
// The one place screens find their models. The app shell puts each feature's model here under
// a name ("sidebar", "chat", "identity", …) when it builds the signed-in view and takes it away
// on sign-out; a screen binds to `Screens.<name>` and follows the change. Features thereby need
// no property of their own on the shell, and no screen reaches a module above its own.
#include <QQmlPropertyMap>
#include <QtQml/qqmlregistration.h>

class QQmlEngine;
class QJSEngine;

namespace halvex {

class Screens : public QQmlPropertyMap {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
public:
    static Screens& instance();
    static Screens* create(QQmlEngine*, QJSEngine*);

    void put(const QString& name, QObject* model);
    void remove(const QString& name);
    QObject* model(const QString& name) const;

private:
    Screens();
};

} // namespace halvex

#include "ui/controls/Screens.h"

#include <QJSEngine>

namespace halvex {

Screens::Screens() : QQmlPropertyMap(this, nullptr) {}

Screens& Screens::instance()
{
    static Screens* screens = new Screens; // lives as long as the process: QML may read it at exit
    return *screens;
}

Screens* Screens::create(QQmlEngine*, QJSEngine*)
{
    Screens* screens = &instance();
    QJSEngine::setObjectOwnership(screens, QJSEngine::CppOwnership);
    return screens;
}

void Screens::put(const QString& name, QObject* model) { insert(name, QVariant::fromValue(model)); }

// The key stays, holding null, so bindings to it see the change instead of an undefined name.
void Screens::remove(const QString& name) { insert(name, QVariant::fromValue<QObject*>(nullptr)); }

QObject* Screens::model(const QString& name) const { return value(name).value<QObject*>(); }

} // namespace halvex

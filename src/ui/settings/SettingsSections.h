#pragma once
// The settings window's sections in their fixed order, with their groups and whether this
// version already has the section's page.
#include <QObject>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

namespace halvex {

class SettingsSections : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(QVariantList all READ all CONSTANT)
    Q_PROPERTY(QString laterText READ laterText CONSTANT)
public:
    using QObject::QObject;
    // Each entry: id, title, group, groupTitle, icon, ready.
    static QVariantList all();
    static QString laterText()
    {
        return QStringLiteral("This section arrives in a later version of Halvex. Nothing here can be changed yet.");
    }
};

} // namespace halvex

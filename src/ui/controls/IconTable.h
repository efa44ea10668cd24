#pragma once
// The one mapping from the symbol names the screens use ("checkmark.shield", "magnifyingglass", …)
// to ligatures of the Material Icons font, so swapping icon sets touches this table only.
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

namespace halvex {

class IconTable : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(Icons)
    QML_SINGLETON
    Q_PROPERTY(QString fontFamily READ fontFamily CONSTANT)
public:
    using QObject::QObject;
    static QString fontFamily() { return QStringLiteral("Material Icons"); }
    // An unknown name shows a neutral dot rather than the name spelled out as text.
    Q_INVOKABLE static QString glyph(const QString& symbol);
    static bool knows(const QString& symbol);
};

} // namespace halvex

#pragma once
// Every keyboard shortcut of the app in one list. Shortcut items take their keys from it by
// name (`ShortcutCatalog.keys("search")`) and the shortcut overlay lists it, so what the overlay
// tells and what the keys do never drift apart. Keys are written in Qt's portable form;
// the overlay shows them as the desktop writes them.
#include <QObject>
#include <QStringList>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

namespace halvex {

struct ShortcutEntry {
    QString name;
    QString group;
    QString label;
    QStringList keys;
    // Keys a control handles itself (Enter in the composer): listed, not bound by a Shortcut.
    bool handledByControl = false;
};

class ShortcutCatalog : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    // [{ title, entries: [{ name, label, keys: [native text…] }] }] in the overlay's order.
    Q_PROPERTY(QVariantList groups READ groups CONSTANT)
public:
    explicit ShortcutCatalog(QObject* parent = nullptr) : QObject(parent) {}

    static const QList<ShortcutEntry>& entries();
    // The keys of the shortcut `name`, for a Shortcut's `sequences`; none for an unknown name.
    Q_INVOKABLE static QStringList keys(const QString& name);
    // The first key as the desktop writes it ("Ctrl+Shift+M"), for tooltips.
    Q_INVOKABLE static QString hint(const QString& name);
    static QVariantList groups();
};

} // namespace halvex

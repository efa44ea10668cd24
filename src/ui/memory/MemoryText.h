#pragma once
// Memory text as QML reads it: the icon, category and shown body of one stored entry, for
// screens that list memory entries of their own (a project's memory tab).
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

namespace halvex {

class MemoryText : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
public:
    using QObject::QObject;

    Q_INVOKABLE QString iconFor(const QString& entry) const;
    Q_INVOKABLE QString categoryOf(const QString& entry) const;
    Q_INVOKABLE QString bodyOf(const QString& entry) const;
};

} // namespace halvex

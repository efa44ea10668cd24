#pragma once
// Lists each control of a window a person can act on that has no name for a screen reader.
// Two walks: the accessibility tree a screen reader reads (which holds the items that declare
// an accessible role, custom controls among them), and the item tree for the stock controls,
// which only join the accessibility tree once an assistive technology runs, as none does
// offscreen. A stock control without a declared name is named by its text, as Qt then does.
#include <QAccessible>
#include <QQmlProperty>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSet>
#include <QStringList>

namespace halvex::test {

inline bool actsOnItsOwn(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::Button:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::SpinBox:
    case QAccessible::Slider:
    case QAccessible::PageTab:
    case QAccessible::MenuItem:
    case QAccessible::Link:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
        return true;
    default:
        return false;
    }
}

// Where a control sits: its object names and types up the item tree, for the failure message.
inline QString describe(QObject* control)
{
    QStringList path;
    for (QObject* object = control; object && path.size() < 7; object = object->parent()) {
        const QString name = object->objectName();
        path.prepend(name.isEmpty() ? QString::fromLatin1(object->metaObject()->className()) : name);
    }
    return path.join(QStringLiteral(" > "));
}

inline bool shown(QQuickItem* item)
{
    for (QQuickItem* up = item; up; up = up->parentItem())
        if (!up->isVisible() || up->opacity() == 0)
            return false;
    return true;
}

class AccessibilityWalk {
public:
    QStringList unnamed;
    int controls = 0;

    explicit AccessibilityWalk(QQuickWindow* window)
    {
        walkTree(QAccessible::queryAccessibleInterface(window), 0);
        walkItems(window->contentItem());
    }

private:
    QSet<QObject*> m_seen;

    void check(QObject* control, const QString& name, const char* kind)
    {
        if (m_seen.contains(control))
            return;
        m_seen.insert(control);
        ++controls;
        if (name.trimmed().isEmpty())
            unnamed << QStringLiteral("%1 at %2").arg(QString::fromLatin1(kind), describe(control));
    }

    void walkTree(QAccessibleInterface* node, int depth)
    {
        if (!node || !node->isValid() || depth > 80 || node->state().invisible)
            return;
        QQuickItem* item = qobject_cast<QQuickItem*>(node->object());
        const QAccessible::Role role = node->role();
        const bool actionable = actsOnItsOwn(role)
            || ((role == QAccessible::ListItem || role == QAccessible::TreeItem) && node->actionInterface()
                && !node->actionInterface()->actionNames().isEmpty());
        if (actionable && item && shown(item) && item->isEnabled())
            check(item, nameOf(item), "declared control");
        for (int i = 0; i < node->childCount(); ++i)
            walkTree(node->child(i), depth + 1);
    }

    void walkItems(QQuickItem* item)
    {
        if (!item || !item->isVisible())
            return;
        if (const char* kind = stockControl(item); kind && item->isEnabled() && shown(item)
            && !QQmlProperty::read(item, QStringLiteral("Accessible.ignored"), qmlContext(item)).toBool())
            check(item, nameOf(item), kind);
        for (QQuickItem* child : item->childItems())
            walkItems(child);
    }

    static const char* stockControl(QQuickItem* item)
    {
        if (item->inherits("QQuickAbstractButton"))
            return "button";
        if (item->inherits("QQuickTextField") || item->inherits("QQuickTextArea"))
            return "text field";
        if (item->inherits("QQuickComboBox"))
            return "combo box";
        if (item->inherits("QQuickSpinBox"))
            return "spin box";
        if (item->inherits("QQuickSlider"))
            return "slider";
        return nullptr;
    }

    // What a screen reader says: the declared name, else a button's text.
    static QString nameOf(QQuickItem* item)
    {
        const QString declared
            = QQmlProperty::read(item, QStringLiteral("Accessible.name"), qmlContext(item)).toString();
        if (!declared.trimmed().isEmpty())
            return declared;
        if (QAccessibleInterface* node = QAccessible::queryAccessibleInterface(item))
            if (const QString name = node->text(QAccessible::Name); !name.trimmed().isEmpty())
                return name;
        if (item->inherits("QQuickAbstractButton"))
            return item->property("text").toString();
        return {};
    }
};

} // namespace halvex::test

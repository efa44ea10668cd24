#include "ui/controls/ShortcutCatalog.h"

#include <QKeySequence>
#include <QVariantMap>

namespace halvex {

namespace {

ShortcutEntry entry(const char* name, const char* group, const char* label, QStringList keys, bool byControl = false)
{
    return {QString::fromUtf8(name), QString::fromUtf8(group), QString::fromUtf8(label), std::move(keys), byControl};
}

QString nativeText(const QString& portable)
{
    return QKeySequence(portable, QKeySequence::PortableText).toString(QKeySequence::NativeText);
}

} // namespace

const QList<ShortcutEntry>& ShortcutCatalog::entries()
{
    using namespace Qt::StringLiterals;
    static const QList<ShortcutEntry> all{
        entry("search", "General", "Search employees and chats", {u"Ctrl+K"_s}),
        entry("newEmployee", "General", "New employee", {u"Ctrl+N"_s}),
        entry("marketplace", "General", "Marketplace", {u"Ctrl+Shift+M"_s}),
        entry("newWorker", "General", "New worker", {u"Ctrl+Shift+W"_s}),
        entry("newProject", "General", "New project", {u"Ctrl+Shift+P"_s}),
        entry("settings", "General", "Settings", {u"Ctrl+,"_s}),
        entry("toggleSidebar", "General", "Show or hide the sidebar", {u"Ctrl+Shift+S"_s}),
        entry("shortcuts", "General", "Keyboard shortcuts", {u"Ctrl+/"_s, u"F1"_s}),
        entry("closeSheet", "General", "Close a sheet or the find bar", {u"Esc"_s}, true),
        entry("quit", "General", "Quit", {u"Ctrl+Q"_s}),

        entry("nextChat", "Chats", "Next chat", {u"Alt+Down"_s, u"Ctrl+PgDown"_s}),
        entry("previousChat", "Chats", "Previous chat", {u"Alt+Up"_s, u"Ctrl+PgUp"_s}),
        entry("send", "Chats", "Send the message", {u"Return"_s}, true),
        entry("newLine", "Chats", "New line in the message", {u"Shift+Return"_s}, true),
        entry("jumpToLatest", "Chats", "Jump to the latest message", {u"Ctrl+End"_s}),
        entry("find", "Chats", "Find in the chat", {u"Ctrl+F"_s}),
        entry("findPrevious", "Chats", "Older match", {u"F3"_s}),
        entry("findNext", "Chats", "Newer match", {u"Shift+F3"_s}),
        entry("findPreviousInField", "Chats", "Older match, in the find field", {u"Return"_s}, true),
        entry("findNextInField", "Chats", "Newer match, in the find field", {u"Shift+Return"_s}, true),
        entry("dictate", "Chats", "Dictate a message", {u"Ctrl+Shift+D"_s}),
        entry("launcher", "Chats", "Run a worker from the composer", {u"Ctrl+Shift+R"_s}),

        entry("computer", "Employees", "Show the employee's computer", {u"Ctrl+Shift+B"_s}),
        entry("runWorker", "Employees", "Run the worker", {u"Ctrl+R"_s}),
        entry("stopWorker", "Employees", "Stop the worker", {u"Ctrl+."_s}),
    };
    return all;
}

QStringList ShortcutCatalog::keys(const QString& name)
{
    for (const ShortcutEntry& e : entries())
        if (e.name == name)
            return e.keys;
    return {};
}

QString ShortcutCatalog::hint(const QString& name)
{
    const QStringList all = keys(name);
    return all.isEmpty() ? QString() : nativeText(all.first());
}

QVariantList ShortcutCatalog::groups()
{
    QVariantList groups;
    QString title;
    QVariantList rows;
    const auto close = [&] {
        if (!rows.isEmpty())
            groups.append(QVariantMap{{QStringLiteral("title"), title}, {QStringLiteral("entries"), rows}});
        rows.clear();
    };
    for (const ShortcutEntry& e : entries()) {
        if (e.group != title) {
            close();
            title = e.group;
        }
        QStringList shown;
        for (const QString& key : e.keys)
            shown.append(nativeText(key));
        rows.append(QVariantMap{{QStringLiteral("name"), e.name},
                                {QStringLiteral("label"), e.label},
                                {QStringLiteral("keys"), shown}});
    }
    close();
    return groups;
}

} // namespace halvex

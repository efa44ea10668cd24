#pragma once
// What the memory panel shows: entries grouped by where they came from, the rows of the
// knowledge base, and the nodes of the memory graph.
#include <QList>
#include <QString>

#include <optional>

namespace halvex {

// Where an entry lives, which is also how it is forgotten.
struct MemoryScope {
    enum class Kind { note, agent, shared };
    Kind kind = Kind::agent;
    QString noteId; // for a note

    static MemoryScope note(QString id) { return {Kind::note, std::move(id)}; }
    static MemoryScope agent() { return {Kind::agent, {}}; }
    static MemoryScope shared() { return {Kind::shared, {}}; }
    bool operator==(const MemoryScope&) const = default;
};

struct MemoryEntryItem {
    QString id;
    QString icon;  // one emoji
    QString badge; // the category
    QString scopeLabel;
    QString text; // the body as shown
    QString when; // where it came from, one line
    MemoryScope scope;
    QString raw; // the entry as stored
    bool operator==(const MemoryEntryItem&) const = default;
};

struct MemoryGroup {
    QString cat;
    QList<MemoryEntryItem> items;
    bool operator==(const MemoryGroup&) const = default;
};

struct KBRow {
    enum class RowType { doc, table, note, link, skill };
    static QList<RowType> allTypes()
    {
        return {RowType::doc, RowType::table, RowType::note, RowType::link, RowType::skill};
    }
    // "Doc", "Table", "Note", "Link", "Skill".
    static QString displayName(RowType type);
    // "doc", "table" …: the type as the interface names it.
    static QString key(RowType type);
    static std::optional<RowType> typeOfKey(const QString& key);

    QString id;
    QString icon;
    RowType type = RowType::doc;
    QString name;
    QString meta;
    QString status;
    QString synced;
    QString content;
    std::optional<QString> url;
    std::optional<QString> noteId;

    // Links, the written knowledge, files and notes can be taken out; tables and skills are
    // managed where they are made.
    bool isRemovable() const;
    bool operator==(const KBRow&) const = default;
};

struct GraphNode {
    enum class Kind { centre, hub, leaf };
    QString id;
    QString label;
    QString icon;
    Kind kind = Kind::leaf;
    QString parentId; // empty for the centre
    double x = 0.5;   // 0 … 1 across
    double y = 0.5;   // 0 … 1 down
    bool operator==(const GraphNode&) const = default;
};

} // namespace halvex

#include "ui/controls/IconTable.h"

#include <QHash>

namespace halvex {

namespace {
const QHash<QString, QString>& table()
{
    static const QHash<QString, QString> map = {
        {QStringLiteral("magnifyingglass"), QStringLiteral("search")},
        {QStringLiteral("checkmark.shield"), QStringLiteral("verified_user")},
        {QStringLiteral("checkmark"), QStringLiteral("check")},
        {QStringLiteral("checkmark.circle"), QStringLiteral("check_circle")},
        {QStringLiteral("xmark"), QStringLiteral("close")},
        {QStringLiteral("xmark.circle"), QStringLiteral("cancel")},
        {QStringLiteral("exclamationmark.triangle"), QStringLiteral("warning")},
        {QStringLiteral("exclamationmark.circle"), QStringLiteral("error")},
        {QStringLiteral("info.circle"), QStringLiteral("info")},
        {QStringLiteral("paperplane"), QStringLiteral("send")},
        {QStringLiteral("paperclip"), QStringLiteral("attach_file")},
        {QStringLiteral("doc"), QStringLiteral("description")},
        {QStringLiteral("doc.text"), QStringLiteral("article")},
        {QStringLiteral("doc.on.doc"), QStringLiteral("content_copy")},
        {QStringLiteral("photo"), QStringLiteral("image")},
        {QStringLiteral("globe"), QStringLiteral("public")},
        {QStringLiteral("link"), QStringLiteral("link")},
        {QStringLiteral("brain"), QStringLiteral("psychology")},
        {QStringLiteral("sparkles"), QStringLiteral("auto_awesome")},
        {QStringLiteral("gearshape"), QStringLiteral("settings")},
        {QStringLiteral("person"), QStringLiteral("person")},
        {QStringLiteral("person.2"), QStringLiteral("group")},
        {QStringLiteral("person.3"), QStringLiteral("groups")},
        {QStringLiteral("bubble.left"), QStringLiteral("chat_bubble_outline")},
        {QStringLiteral("bubble.left.and.bubble.right"), QStringLiteral("forum")},
        {QStringLiteral("folder"), QStringLiteral("folder")},
        {QStringLiteral("pencil"), QStringLiteral("edit")},
        {QStringLiteral("trash"), QStringLiteral("delete")},
        {QStringLiteral("plus"), QStringLiteral("add")},
        {QStringLiteral("chevron.right"), QStringLiteral("chevron_right")},
        {QStringLiteral("chevron.down"), QStringLiteral("expand_more")},
        {QStringLiteral("sidebar.left"), QStringLiteral("view_sidebar")},
        {QStringLiteral("arrow.clockwise"), QStringLiteral("refresh")},
        {QStringLiteral("arrow.down.circle"), QStringLiteral("download")},
        {QStringLiteral("hammer"), QStringLiteral("build")},
        {QStringLiteral("terminal"), QStringLiteral("terminal")},
        {QStringLiteral("target"), QStringLiteral("track_changes")},
        {QStringLiteral("flag"), QStringLiteral("flag")},
        {QStringLiteral("clock"), QStringLiteral("schedule")},
        {QStringLiteral("repeat"), QStringLiteral("repeat")},
        {QStringLiteral("hand.raised"), QStringLiteral("back_hand")},
        {QStringLiteral("lock"), QStringLiteral("lock")},
        {QStringLiteral("envelope"), QStringLiteral("mail")},
        {QStringLiteral("calendar"), QStringLiteral("event")},
        {QStringLiteral("chart.bar"), QStringLiteral("bar_chart")},
        {QStringLiteral("circle.lefthalf.filled"), QStringLiteral("contrast")},
        {QStringLiteral("archivebox.fill"), QStringLiteral("archive")},
        {QStringLiteral("brain.head.profile"), QStringLiteral("psychology")},
        {QStringLiteral("creditcard.fill"), QStringLiteral("credit_card")},
        {QStringLiteral("creditcard"), QStringLiteral("credit_card")},
        {QStringLiteral("tablecells"), QStringLiteral("table_chart")},
        {QStringLiteral("person.2.fill"), QStringLiteral("people")},
        {QStringLiteral("diamond.fill"), QStringLiteral("label")},
        {QStringLiteral("envelope.fill"), QStringLiteral("mail")},
        {QStringLiteral("exclamationmark.triangle.fill"), QStringLiteral("warning")},
        {QStringLiteral("gearshape.fill"), QStringLiteral("settings")},
        {QStringLiteral("lock.fill"), QStringLiteral("lock")},
        {QStringLiteral("note.text"), QStringLiteral("sticky_note_2")},
        {QStringLiteral("phone.fill"), QStringLiteral("call")},
        {QStringLiteral("play.rectangle"), QStringLiteral("smart_display")},
        {QStringLiteral("puzzlepiece.extension.fill"), QStringLiteral("extension")},
        {QStringLiteral("wifi.exclamationmark"), QStringLiteral("wifi_off")},
        {QStringLiteral("play.fill"), QStringLiteral("play_arrow")},
        {QStringLiteral("stop.fill"), QStringLiteral("stop")},
        {QStringLiteral("bolt.fill"), QStringLiteral("bolt")},
        {QStringLiteral("arrow.up"), QStringLiteral("arrow_upward")},
        {QStringLiteral("arrow.down"), QStringLiteral("arrow_downward")},
        {QStringLiteral("arrow.uturn.backward"), QStringLiteral("undo")},
        {QStringLiteral("phone"), QStringLiteral("call")},
        {QStringLiteral("paintbrush"), QStringLiteral("brush")},
        {QStringLiteral("books.vertical"), QStringLiteral("menu_book")},
        {QStringLiteral("gearshape.2"), QStringLiteral("settings_suggest")},
    };
    return map;
}
} // namespace

bool IconTable::knows(const QString& symbol) { return table().contains(symbol); }

QString IconTable::glyph(const QString& symbol) { return table().value(symbol, QStringLiteral("circle")); }

} // namespace halvex

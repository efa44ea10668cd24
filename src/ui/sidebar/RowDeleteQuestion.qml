import QtQuick
import QtQuick.Controls
import Halvex.Controls
import Halvex.Sidebar

// The question before a row's conversation is archived; made the first time it is asked.
QuestionDialog {
    objectName: "deleteConfirm"
    required property SidebarRowDelegate row
    title: "Delete “" + row.title + "”?"
    Label { text: "The conversation is archived on the service."; color: Theme.secondaryText }
    onAccepted: row.rows.remove(row.identity)
    onClosed: row.renameFinished()
}

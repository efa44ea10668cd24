import QtQuick
import QtQuick.Controls
import Halvex.Controls
import Halvex.Sidebar

// The question before a row's conversation is archived; made the first time it is asked.
Dialog {
    objectName: "deleteConfirm"
    required property SidebarRowDelegate row
    parent: Overlay.overlay
    anchors.centerIn: parent
    modal: true
    title: "Delete “" + row.title + "”?"
    standardButtons: Dialog.Cancel | Dialog.Ok
    Label { text: "The conversation is archived on the service."; color: Theme.secondaryText }
    onAccepted: row.rows.remove(row.identity)
    onClosed: row.renameFinished()
}

import QtQuick
import QtQuick.Controls
import Halvex.Controls

// A modal question with Cancel and OK, centred over the window. Its title usually names what is
// asked about, often a name from the service: it is read as plain text, where a dialog's own
// title would read markup (and fetch the address of an image in it).
Dialog {
    id: dialog
    parent: Overlay.overlay
    anchors.centerIn: parent
    modal: true
    standardButtons: Dialog.Cancel | Dialog.Ok
    header: Label {
        text: dialog.title
        textFormat: Text.PlainText
        visible: dialog.title.length > 0
        elide: Text.ElideRight
        font.bold: true
        padding: 12
        color: Theme.text
    }
}

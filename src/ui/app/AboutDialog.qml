import QtQuick
import QtQuick.Controls
import Halvex.Controls

// What the menu's "About Halvex" shows.
Dialog {
    objectName: "aboutDialog"
    parent: Overlay.overlay
    anchors.centerIn: parent
    modal: true
    title: "Halvex"
    standardButtons: Dialog.Ok
    Label { text: "Hire and run AI employees."; color: Theme.text }
}

import QtQuick
import Halvex.Memory

// An employee's memory over the whole window; a click beside the panel closes it.
Rectangle {
    id: sheet
    required property MemoryPanel panel
    color: Qt.rgba(0, 0, 0, 0.35)
    MouseArea { anchors.fill: parent; onClicked: sheet.panel.close() }
    MemoryPanelView {
        panel: sheet.panel
        anchors.centerIn: parent
        width: Math.min(parent.width - 48, 860)
        height: Math.min(parent.height - 48, 720)
        Component.onCompleted: forceActiveFocus()
    }
}

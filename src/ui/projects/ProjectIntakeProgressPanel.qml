import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls

// What the service is doing while it reads the sources or writes the profile.
Rectangle {
    id: panel
    objectName: "intakeProgress"
    property var progress: ({})
    readonly property var checklist: progress.checklist || []
    implicitHeight: content.implicitHeight + 40
    radius: 10
    color: Theme.surface
    border.color: Theme.border

    ColumnLayout {
        id: content
        anchors { left: parent.left; right: parent.right; top: parent.top; margins: 20 }
        spacing: 10
        RowLayout {
            spacing: 10
            Spinner { running: panel.visible; size: 22 }
            ColumnLayout {
                spacing: 2
                Layout.fillWidth: true
                Label { textFormat: Text.PlainText; objectName: "intakeProgressHeadline"; text: panel.progress.headline || ""; color: Theme.text; font.pixelSize: 16; font.weight: Font.DemiBold }
                Label { textFormat: Text.PlainText; text: panel.progress.detail || ""; color: Theme.secondaryText; wrapMode: Text.WordWrap; Layout.fillWidth: true }
            }
        }
        Repeater {
            model: panel.checklist
            delegate: RowLayout {
                id: check
                required property var modelData
                required property int index
                Layout.fillWidth: true
                spacing: 10
                Rectangle {
                    implicitWidth: 22; implicitHeight: 22; radius: 11
                    color: Theme.window; border.color: Theme.border
                    Layout.alignment: Qt.AlignTop
                    Label { textFormat: Text.PlainText; anchors.centerIn: parent; text: check.index + 1; font.pixelSize: 11; color: Theme.secondaryText }
                }
                ColumnLayout {
                    spacing: 1
                    Layout.fillWidth: true
                    Label { textFormat: Text.PlainText; text: check.modelData.title; color: Theme.text }
                    Label {
                        textFormat: Text.PlainText
                        visible: text.length > 0
                        text: check.modelData.detail
                        color: Theme.secondaryText; font.pixelSize: 12; wrapMode: Text.WordWrap; Layout.fillWidth: true
                    }
                }
            }
        }
        Rectangle { Layout.fillWidth: true; implicitHeight: 1; color: Theme.border }
        Label { textFormat: Text.PlainText; objectName: "intakeProgressStatus"; text: panel.progress.status || ""; color: Theme.secondaryText; font.pixelSize: 12; wrapMode: Text.WordWrap; Layout.fillWidth: true }
        RowLayout {
            spacing: 6
            Icon { symbol: "clock"; size: 14 }
            Label { textFormat: Text.PlainText; text: panel.progress.duration || ""; color: Theme.secondaryText; font.pixelSize: 12 }
        }
    }
}

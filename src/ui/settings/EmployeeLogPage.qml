import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Settings

// The picked employee's recent runs ("audit") or its calls ("recordings").
ColumnLayout {
    id: page
    required property EmployeeLogsSettings logs
    required property string section
    readonly property var rows: section === "audit" ? logs.runs : logs.calls
    spacing: 12
    Component.onCompleted: logs.open(section)
    // Audit and recordings share this page: moving between them keeps it and changes the section.
    onSectionChanged: logs.open(section)
    Component.onDestruction: logs.close()

    EmployeePicker {}
    BusyIndicator { visible: page.logs.loading; running: visible; implicitWidth: 22; implicitHeight: 22 }
    Label {
        textFormat: Text.PlainText
        visible: !page.logs.loading && page.rows.length === 0 && page.logs.error.length === 0
        text: page.section === "audit" ? "No runs yet." : "No calls yet."
        color: Theme.secondaryText
    }
    Repeater {
        model: page.rows
        delegate: Rectangle {
            required property var modelData
            objectName: page.section + "Row"
            Layout.fillWidth: true
            implicitHeight: rowColumn.implicitHeight + 16
            radius: 8
            color: Theme.surface
            border.color: Theme.border
            ColumnLayout {
                id: rowColumn
                anchors { left: parent.left; right: parent.right; top: parent.top; margins: 8 }
                spacing: 2
                RowLayout {
                    Layout.fillWidth: true
                    Label {
                        text: page.section === "audit" ? (modelData.trigger === "schedule" ? "Scheduled run" : "Run") : modelData.title
                        textFormat: Text.PlainText; color: Theme.text; font.weight: Font.Medium
                        elide: Text.ElideRight; Layout.fillWidth: true
                    }
                    Label {
                        text: modelData.status
                        textFormat: Text.PlainText
                        color: modelData.status === "error" || modelData.status === "failed" ? Theme.danger : Theme.secondaryText
                        font.pixelSize: 12
                    }
                }
                Label {
                    text: page.section === "audit"
                          ? modelData.started + (modelData.finished.length > 0 ? " → " + modelData.finished : "")
                          : modelData.started + (modelData.duration.length > 0 ? " · " + modelData.duration : "")
                    textFormat: Text.PlainText; color: Theme.secondaryText; font.pixelSize: 12
                }
                Label {
                    visible: text.length > 0
                    text: page.section === "audit" ? modelData.error : modelData.snippet
                    textFormat: Text.PlainText
                    color: page.section === "audit" ? Theme.danger : Theme.text
                    wrapMode: Text.WordWrap; maximumLineCount: 3; elide: Text.ElideRight; Layout.fillWidth: true
                }
            }
        }
    }
    Label {
        visible: text.length > 0
        text: page.logs.error
        textFormat: Text.PlainText
        color: Theme.danger; wrapMode: Text.WordWrap; Layout.fillWidth: true
    }
}

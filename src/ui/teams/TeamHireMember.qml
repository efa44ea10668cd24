import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Teams

// Hiring a new member from a plain-language brief; the brief stays shown while the service
// creates the member, and a failure says why.
ColumnLayout {
    id: hire
    required property TeamMenu menu
    spacing: 4
    Layout.fillWidth: true

    RowLayout {
        spacing: 8
        Layout.fillWidth: true
        PlainField {
            id: brief
            objectName: "hireBrief"
            placeholderText: "Describe a new member…"
            Accessible.name: "Brief for a new team member"
            enabled: !hire.menu.hiring
            Layout.fillWidth: true
            Keys.onReturnPressed: add.clicked()
        }
        PlainButton {
            id: add
            objectName: "hireMember"
            text: "Add"
            Accessible.name: "Add a member from the brief"
            enabled: !hire.menu.hiring && brief.text.trim().length > 0
            onClicked: { hire.menu.addMember(brief.text.trim()); brief.text = "" }
        }
    }
    RowLayout {
        visible: hire.menu.hiring
        spacing: 6
        Spinner { size: 14 }
        Label {
            textFormat: Text.PlainText
            text: "Hiring: " + hire.menu.hiringBrief
            color: Theme.secondaryText; font.pixelSize: 12
            elide: Text.ElideRight; Layout.fillWidth: true
        }
    }
    Label {
        objectName: "hireError"
        textFormat: Text.PlainText
        visible: text.length > 0
        text: hire.menu.hiringError
        color: Theme.danger; font.pixelSize: 12
        wrapMode: Text.Wrap; Layout.fillWidth: true
    }
}

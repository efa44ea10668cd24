import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Teams

// The team's members: name, handle and role, the model each runs on, and what each spent;
// each can be renamed or removed, and a new one hired from a brief.
TeamMenuSection {
    id: roster
    required property TeamMenu menu
    title: "Members"
    Label {
        visible: roster.menu.loaded && roster.menu.roster.length === 0
        text: "No members yet."
        color: Theme.secondaryText
    }
    Repeater {
        // Counted, not the list itself: usage or a save refreshes the rows in place, so a rename
        // being typed survives; only a member joining or leaving makes rows anew.
        model: roster.menu.roster.length
        delegate: RowLayout {
            required property int index
            readonly property var modelData: roster.menu.roster[index] || ({})
            objectName: "teamMember"
            spacing: 8
            Layout.fillWidth: true
            Accessible.role: Accessible.ListItem
            Accessible.name: modelData.name + ", @" + modelData.handle + ", " + modelData.model
                             + (modelData.reviewer ? ", reviewer" : "")
                             + (modelData.usage.length > 0 ? ", " + modelData.usage : "")
            Icon { symbol: "person"; size: 16; Layout.alignment: Qt.AlignTop }
            ColumnLayout {
                spacing: 1
                Layout.fillWidth: true
                RowLayout {
                    spacing: 6
                    Layout.fillWidth: true
                    Label {
                        textFormat: Text.PlainText
                        text: modelData.name
                        color: Theme.text; font.weight: Font.Medium
                        elide: Text.ElideRight; Layout.fillWidth: true
                    }
                    Label {
                        visible: modelData.reviewer
                        text: "Reviewer"
                        color: Theme.accent; font.pixelSize: 11
                    }
                }
                Label {
                    textFormat: Text.PlainText
                    text: [modelData.handle.length > 0 ? "@" + modelData.handle : "", modelData.role].filter(s => s.length > 0).join(" · ")
                    color: Theme.secondaryText; font.pixelSize: 12
                    elide: Text.ElideRight; Layout.fillWidth: true
                }
                Label {
                    textFormat: Text.PlainText
                    text: [modelData.model, modelData.usage].filter(s => s.length > 0).join(" · ")
                    color: Theme.secondaryText; font.pixelSize: 12
                    elide: Text.ElideRight; Layout.fillWidth: true
                }
                TeamMemberActions { menu: roster.menu; member: modelData }
            }
        }
    }
    Label {
        textFormat: Text.PlainText
        visible: text.length > 0
        text: roster.menu.usageTotalText.length > 0 ? "Team total: " + roster.menu.usageTotalText : ""
        color: Theme.secondaryText; font.pixelSize: 12
    }
    TeamHireMember { menu: roster.menu }
}

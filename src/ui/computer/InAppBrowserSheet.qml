import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Computer

// The in-app browser: the web services the employee can be signed in to. Choosing one opens its
// start page in the employee's computer, beside the chat, where the user signs in.
Rectangle {
    id: sheet
    objectName: "inAppBrowserSheet"
    required property ComputerPanel panel
    radius: 14
    color: Theme.raised
    border.color: Theme.border
    Keys.onEscapePressed: panel.closeBrowser()

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 20
        spacing: 12

        RowLayout {
            Layout.fillWidth: true
            spacing: 8
            Icon { symbol: "globe"; size: 20 }
            Label {
                text: "Sign " + sheet.panel.agentName + " in"
                textFormat: Text.PlainText
                color: Theme.text; font.pixelSize: 17; font.weight: Font.DemiBold
                elide: Text.ElideRight
                Layout.fillWidth: true
            }
            ToolButton {
                objectName: "closeInAppBrowser"
                contentItem: Icon { symbol: "xmark"; size: 18; horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter }
                onClicked: sheet.panel.closeBrowser()
                Accessible.name: "Close"
            }
        }
        Label {
            textFormat: Text.PlainText
            Layout.fillWidth: true
            wrapMode: Text.WordWrap
            text: "Choose a service: its sign-in page opens in " + sheet.panel.agentName + "'s computer beside the chat. What you sign in to there stays signed in for its work."
            color: Theme.secondaryText; font.pixelSize: 13
        }

        GridView {
            id: grid
            objectName: "browserServiceGrid"
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            readonly property int columns: Math.max(2, Math.floor(width / 190))
            cellWidth: Math.floor(width / columns)
            cellHeight: 84
            model: sheet.panel.services
            boundsBehavior: Flickable.StopAtBounds
            ScrollBar.vertical: ScrollBar {}
            Accessible.role: Accessible.List
            Accessible.name: "Services"
            delegate: Item {
                id: cell
                required property var modelData
                width: grid.cellWidth
                height: grid.cellHeight
                Button {
                    id: tile
                    objectName: "browserService_" + cell.modelData.id
                    anchors { fill: parent; margins: 5 }
                    onClicked: sheet.panel.signInTo(cell.modelData.id)
                    Accessible.name: cell.modelData.label + ", " + cell.modelData.stateText
                    background: Rectangle {
                        radius: 10
                        color: tile.hovered ? Theme.hover : Theme.surface
                        border.color: tile.visualFocus ? Theme.focusRing : Theme.border
                        border.width: tile.visualFocus ? 2 : 1
                    }
                    contentItem: ColumnLayout {
                        spacing: 4
                        RowLayout {
                            spacing: 8
                            Layout.fillWidth: true
                            Icon { symbol: cell.modelData.icon; size: 20; color: Theme.text }
                            Label {
                                text: cell.modelData.label
                                textFormat: Text.PlainText
                                color: Theme.text; font.weight: Font.DemiBold
                                elide: Text.ElideRight
                                Layout.fillWidth: true
                            }
                        }
                        Label {
                            text: cell.modelData.host
                            textFormat: Text.PlainText
                            color: Theme.secondaryText; font.pixelSize: 11
                            elide: Text.ElideRight
                            Layout.fillWidth: true
                        }
                        RowLayout {
                            spacing: 5
                            Rectangle {
                                width: 8; height: 8; radius: 4
                                color: cell.modelData.state === "connected" ? Theme.success
                                     : cell.modelData.state === "pending" ? Theme.accent : Theme.border
                            }
                            Label {
                                textFormat: Text.PlainText
                                text: cell.modelData.stateText
                                color: Theme.secondaryText; font.pixelSize: 11
                            }
                        }
                    }
                }
            }
        }

        RowLayout {
            Layout.fillWidth: true
            visible: sheet.panel.providers.length > 0
            spacing: 8
            Label { text: "Browser"; color: Theme.secondaryText; font.pixelSize: 12 }
            ComboBox {
                objectName: "computerProvider"
                Layout.preferredWidth: 260
                model: sheet.panel.providers
                textRole: "label"
                valueRole: "id"
                currentIndex: sheet.panel.providers.findIndex(p => p.chosen)
                onActivated: sheet.panel.chooseProvider(currentValue)
                Accessible.name: "Browser provider"
            }
            Item { Layout.fillWidth: true }
        }
    }
}

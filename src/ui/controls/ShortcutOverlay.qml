import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls

// Every keyboard shortcut, grouped, over the window: the same list the Shortcut items take
// their keys from. Esc, a click outside or the shortcut again closes it.
Popup {
    id: overlay
    objectName: "shortcutOverlay"
    parent: Overlay.overlay
    anchors.centerIn: parent
    width: Math.min(parent ? parent.width - 48 : 760, 760)
    height: Math.min(parent ? parent.height - 48 : 640, content.implicitHeight + 2 * padding)
    modal: true
    focus: true
    padding: 24
    closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutside
    background: Rectangle { color: Theme.raised; radius: 12; border.color: Theme.border }
    Overlay.modal: Rectangle { color: Qt.rgba(0, 0, 0, 0.35) }

    contentItem: Flickable {
        clip: true
        contentHeight: content.implicitHeight
        boundsBehavior: Flickable.StopAtBounds
        Accessible.role: Accessible.Dialog
        Accessible.name: "Keyboard shortcuts"
        ColumnLayout {
            id: content
            width: parent.width
            spacing: 14
            RowLayout {
                Layout.fillWidth: true
                Icon { symbol: "keyboard"; size: 20; color: Theme.text }
                Label {
                    text: "Keyboard shortcuts"
                    color: Theme.text; font.pixelSize: 17; font.weight: Font.DemiBold
                    Layout.fillWidth: true
                }
                IconButton {
                    objectName: "closeShortcuts"
                    name: "Close"
                    symbol: "xmark"
                    onClicked: overlay.close()
                }
            }
            GridLayout {
                Layout.fillWidth: true
                columns: overlay.width > 620 ? 2 : 1
                columnSpacing: 28
                rowSpacing: 14
                Repeater {
                    model: ShortcutCatalog.groups
                    delegate: ColumnLayout {
                        required property var modelData
                        Layout.fillWidth: true
                        Layout.alignment: Qt.AlignTop
                        Layout.preferredWidth: 1
                        spacing: 6
                        Label {
                            textFormat: Text.PlainText
                            text: modelData.title
                            color: Theme.secondaryText; font.pixelSize: 12; font.weight: Font.DemiBold
                            Accessible.role: Accessible.Heading
                            Accessible.name: text
                        }
                        Repeater {
                            model: modelData.entries
                            delegate: RowLayout {
                                required property var modelData
                                objectName: "shortcutRow"
                                Layout.fillWidth: true
                                spacing: 8
                                Accessible.role: Accessible.StaticText
                                Accessible.name: modelData.label + ": " + modelData.keys.join(" or ")
                                Label {
                                    textFormat: Text.PlainText
                                    text: modelData.label
                                    color: Theme.text; font.pixelSize: 13
                                    elide: Text.ElideRight
                                    Layout.fillWidth: true
                                    Accessible.ignored: true
                                }
                                Repeater {
                                    model: modelData.keys
                                    delegate: Rectangle {
                                        required property string modelData
                                        implicitWidth: keyText.implicitWidth + 12
                                        implicitHeight: 22
                                        radius: 5
                                        color: Theme.surface
                                        border.color: Theme.border
                                        Accessible.ignored: true
                                        Label {
                                            id: keyText
                                            textFormat: Text.PlainText
                                            anchors.centerIn: parent
                                            text: parent.modelData
                                            color: Theme.text; font.pixelSize: 12; font.family: Theme.codeFont
                                        }
                                    }
                                }
                            }
                        }
                    }
                }
            }
        }
    }
}

import QtQuick
import QtQuick.Window
import Halvex.Controls
import Halvex.Chat

// The user's turn: a bubble on the right, with the pictures and documents it carried.
// A look of MessageRow, loaded by its address.
Item {
    // The row that loaded this look (through its loader).
    readonly property MessageRow row: parent.parent as MessageRow
    implicitHeight: bubble.height + (pictures.visible ? pictures.height + 6 : 0)
                    + (fileChips.visible ? fileChips.height + 6 : 0)
    // Pictures the turn carried, as thumbnails at their shown size; a click opens the file.
    Flow {
        id: pictures
        anchors { right: parent.right; top: parent.top }
        width: Math.min(parent.width * 0.75, 3 * 166)
        layoutDirection: Qt.RightToLeft
        spacing: 6
        visible: row.images.length > 0
        Repeater {
            model: row.images
            delegate: Image {
                required property var modelData
                readonly property int side: Math.ceil(160 * Math.max(1, Screen.devicePixelRatio))
                objectName: "chatThumbnail"
                width: 160; height: 120
                fillMode: Image.PreserveAspectCrop
                asynchronous: true
                cache: false
                source: "image://remote/thumbnail/" + side + "x" + Math.ceil(side * 3 / 4) + "/" + encodeURIComponent(modelData.url)
                Accessible.role: Accessible.Graphic
                Accessible.name: modelData.name
                Rectangle { anchors.fill: parent; color: "transparent"; border.color: Theme.border; radius: 8; visible: parent.status !== Image.Ready }
                TapHandler { onTapped: Links.openDocument(modelData.url, modelData.name, "image/*") }
            }
        }
    }
    Rectangle {
        id: bubble
        anchors.top: pictures.visible ? pictures.bottom : parent.top
        anchors.topMargin: pictures.visible ? 6 : 0
        anchors.right: parent.right
        width: Math.min(parent.width * 0.75, bubbleText.implicitWidth + 28)
        height: bubbleText.implicitHeight + 18
        radius: 14
        color: Theme.userBubble
        opacity: row.pending ? 0.7 : 1
        TextEdit {
            id: bubbleText
            anchors { fill: parent; leftMargin: 14; rightMargin: 14; topMargin: 9; bottomMargin: 9 }
            text: row.text
            wrapMode: Text.Wrap
            readOnly: true
            selectByMouse: true
            color: Theme.text
            font.pixelSize: 13
        }
    }
    // Documents the turn carried; each opens in the document viewer.
    Flow {
        id: fileChips
        objectName: "chatFiles"
        anchors { right: parent.right; top: bubble.bottom; topMargin: 6 }
        width: Math.min(parent.width * 0.75, 520)
        layoutDirection: Qt.RightToLeft
        spacing: 6
        visible: row.files.length > 0
        Repeater {
            model: row.files
            delegate: Chip {
                required property var modelData
                text: modelData.size.length > 0 ? modelData.name + " · " + modelData.size : modelData.name
                symbol: "doc"
                Accessible.name: "Open " + modelData.name
                onClicked: Links.openDocument(modelData.url, modelData.name, modelData.mime)
            }
        }
    }
}

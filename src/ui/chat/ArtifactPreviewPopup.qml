import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Chat

// A table or note an employee made, opened from its chip: the table's first rows with the full
// count, or the note rendered like a message. Escape or the close button closes it.
Popup {
    id: popup
    objectName: "artifactPreview"
    required property ArtifactPreview preview
    required property ChatSession session
    readonly property real columnWidth: 160
    // Centred over the chat it belongs to.
    width: Math.min(parent ? parent.width - 80 : 760, 760)
    height: Math.min(parent ? parent.height - 80 : 560, 560)
    x: parent ? (parent.width - width) / 2 : 0
    y: parent ? (parent.height - height) / 2 : 0
    modal: true
    focus: true
    padding: 16
    visible: preview !== null && preview.open
    onClosed: if (preview && preview.open) preview.close()
    background: Rectangle { radius: 12; color: Theme.raised; border.color: Theme.border }

    ColumnLayout {
        anchors.fill: parent
        spacing: 10
        RowLayout {
            Layout.fillWidth: true
            Icon { symbol: popup.preview && popup.preview.kind === "note" ? "note.text" : "tablecells"; size: 18 }
            Label {
                objectName: "previewTitle"
                text: popup.preview ? popup.preview.title : ""
                textFormat: Text.PlainText
                color: Theme.text; font.pixelSize: 15; font.weight: Font.DemiBold
                elide: Text.ElideRight; Layout.fillWidth: true
            }
            Label {
                textFormat: Text.PlainText
                visible: text.length > 0
                text: popup.preview ? popup.preview.countText : ""
                color: Theme.secondaryText; font.pixelSize: 12
            }
            ToolButton {
                contentItem: Icon { symbol: "xmark"; size: 16; horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter }
                onClicked: popup.close()
                Accessible.name: "Close preview"
            }
        }
        Spinner {
            visible: popup.preview !== null && popup.preview.loading
            running: visible
            size: 22
            Layout.alignment: Qt.AlignHCenter
        }
        Label {
            objectName: "previewError"
            textFormat: Text.PlainText
            visible: text.length > 0
            text: popup.preview ? popup.preview.error : ""
            color: Theme.danger; wrapMode: Text.WordWrap; Layout.fillWidth: true
        }

        // The table: a header row and the rows below it, scrolling both ways.
        DataTable {
            visible: popup.preview !== null && popup.preview.kind === "table"
            Layout.fillWidth: true
            Layout.fillHeight: true
            columns: popup.preview ? popup.preview.columns : []
            rows: popup.preview ? popup.preview.rows : []
            columnWidth: popup.columnWidth
        }

        // The note, rendered like an answer.
        ScrollView {
            visible: popup.preview !== null && popup.preview.kind === "note"
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            Column {
                width: popup.availableWidth - 16
                spacing: 8
                Repeater {
                    model: popup.preview ? popup.preview.noteBlocks : []
                    delegate: MessageBlock {
                        required property var modelData
                        block: modelData
                        session: popup.session
                        width: parent.width
                    }
                }
            }
        }
    }
}

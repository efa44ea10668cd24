import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import QtQuick.Pdf
import Halvex.Controls
import Halvex.Chat
import Halvex.Media

// A document opened from a message or a project: a PDF in pages, Markdown rendered like an
// answer, a picture, text or a table; formats the app cannot show are handed to the desktop and
// the sheet says so. Escape or the close button closes it.
Popup {
    id: popup
    objectName: "documentViewer"
    required property DocumentViewer viewer
    required property ChatSession session
    readonly property string kind: viewer ? viewer.kind : ""
    width: parent ? parent.width - 80 : 900
    height: parent ? parent.height - 60 : 700
    x: parent ? (parent.width - width) / 2 : 0
    y: parent ? (parent.height - height) / 2 : 0
    modal: true
    focus: true
    padding: 16
    visible: viewer !== null && viewer.open
    onClosed: if (viewer && viewer.open) viewer.close()
    background: Rectangle { radius: 12; color: Theme.raised; border.color: Theme.border }

    ColumnLayout {
        anchors.fill: parent
        spacing: 10
        RowLayout {
            Layout.fillWidth: true
            spacing: 8
            Icon {
                symbol: popup.kind === "pdf" ? "doc.richtext" : popup.kind === "image" ? "photo"
                      : popup.kind === "table" ? "tablecells" : "doc"
                size: 18
            }
            Label {
                objectName: "documentTitle"
                text: popup.viewer ? popup.viewer.title : ""
                textFormat: Text.PlainText
                color: Theme.text; font.pixelSize: 15; font.weight: Font.DemiBold
                elide: Text.ElideMiddle; Layout.fillWidth: true
            }
            Label {
                objectName: "pageCount"
                textFormat: Text.PlainText
                visible: popup.kind === "pdf" && pdf.status === PdfDocument.Ready
                text: (pdfView.currentPage + 1) + " / " + pdf.pageCount
                color: Theme.secondaryText; font.pixelSize: 12
            }
            PlainButton {
                objectName: "openWithDesktop"
                visible: popup.viewer !== null && popup.viewer.file.toString().length > 0 && popup.kind !== "external"
                text: "Open in default app"
                onClicked: popup.viewer.openWithDesktop()
            }
            ToolButton {
                contentItem: Icon { symbol: "xmark"; size: 16; horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter }
                onClicked: popup.close()
                Accessible.name: "Close document"
            }
        }
        Label {
            textFormat: Text.PlainText
            visible: text.length > 0
            text: popup.viewer ? popup.viewer.notice : ""
            color: Theme.secondaryText; font.pixelSize: 12
        }
        Spinner {
            visible: popup.viewer !== null && popup.viewer.loading
            running: visible
            size: 22
            Layout.alignment: Qt.AlignHCenter
        }
        Label {
            objectName: "documentError"
            visible: popup.kind === "failed" || (popup.kind === "pdf" && pdf.status === PdfDocument.Error)
            text: popup.kind === "failed" ? popup.viewer.error : "This PDF could not be read."
            textFormat: Text.PlainText
            color: Theme.danger; wrapMode: Text.WordWrap; Layout.fillWidth: true
        }
        Label {
            objectName: "documentExternal"
            visible: popup.kind === "external"
            text: "Opened in your default application. The downloaded copy stays in the document cache."
            color: Theme.secondaryText; wrapMode: Text.WordWrap; Layout.fillWidth: true
        }

        PdfDocument {
            id: pdf
            source: popup.kind === "pdf" ? popup.viewer.file : ""
        }
        PdfMultiPageView {
            id: pdfView
            objectName: "pdfView"
            visible: popup.kind === "pdf" && pdf.status === PdfDocument.Ready
            document: pdf
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            // Pages fit the width once there is one: scaling while the layout still has no size
            // would draw them at nothing.
            function fit() { if (pdf.status === PdfDocument.Ready && width > 0) scaleToWidth(width, height) }
            onWidthChanged: fit()
            Connections {
                target: pdf
                function onStatusChanged() { pdfView.fit() }
            }
        }

        ScrollView {
            objectName: "markdownView"
            visible: popup.kind === "markdown"
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            Column {
                width: popup.availableWidth - 16
                spacing: 8
                Repeater {
                    model: popup.kind === "markdown" ? popup.viewer.markdownBlocks : []
                    delegate: MessageBlock {
                        required property var modelData
                        block: modelData
                        session: popup.session
                        width: parent.width
                    }
                }
            }
        }

        Image {
            objectName: "imageView"
            visible: popup.kind === "image"
            source: popup.kind === "image" ? popup.viewer.file : ""
            fillMode: Image.PreserveAspectFit
            asynchronous: true
            // Decoded at the size it is shown at, never at the file's full size.
            sourceSize.width: width * Screen.devicePixelRatio
            sourceSize.height: height * Screen.devicePixelRatio
            Layout.fillWidth: true
            Layout.fillHeight: true
        }

        ScrollView {
            objectName: "textView"
            visible: popup.kind === "text"
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            TextArea {
                readOnly: true
                selectByMouse: true
                textFormat: TextEdit.PlainText
                text: popup.kind === "text" ? popup.viewer.text : ""
                font.family: "JetBrains Mono"
                font.pixelSize: 12
                color: Theme.text
                wrapMode: TextEdit.WrapAnywhere
                background: null
            }
        }

        DataTable {
            objectName: "tableView"
            visible: popup.kind === "table"
            Layout.fillWidth: true
            Layout.fillHeight: true
            columns: popup.kind === "table" ? popup.viewer.columns : []
            rows: popup.kind === "table" ? popup.viewer.rows : []
        }
    }
}

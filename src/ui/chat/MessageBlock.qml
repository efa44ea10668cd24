import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Teams
import Halvex.Chat

// One parsed block of an answer; the kind picks the look, the text comes ready from C++.
Loader {
    id: loader
    required property var block
    required property ChatSession session
    width: parent ? parent.width : 0
    // Every text field arrives as rendered rich text (links already checked, colours of the
    // scheme); every click goes through Links, which checks the address again.
    sourceComponent: {
        switch (block.kind) {
        case "heading": return heading
        case "code": return code
        case "bullet": case "ordered": return list
        case "quote": return quote
        case "table": return table
        case "rule": return rule
        case "report": return report
        default: return paragraph
        }
    }

    Component {
        id: paragraph
        TextEdit {
            text: loader.block.text
            textFormat: TextEdit.RichText
            wrapMode: Text.Wrap
            readOnly: true
            selectByMouse: true
            color: Theme.text
            selectionColor: Theme.selection
            selectedTextColor: Theme.text
            onLinkActivated: (link) => Links.open(link)
        }
    }
    Component {
        id: heading
        TextEdit {
            text: loader.block.text
            textFormat: TextEdit.RichText
            onLinkActivated: (link) => Links.open(link)
            wrapMode: Text.Wrap
            readOnly: true
            selectByMouse: true
            color: Theme.text
            font.pixelSize: loader.block.level <= 1 ? 20 : loader.block.level === 2 ? 17 : 15
            font.weight: Font.DemiBold
            topPadding: 4
        }
    }
    Component {
        id: code
        Rectangle {
            radius: 8
            color: Theme.codeBackground
            border.color: Theme.border
            implicitHeight: codeText.implicitHeight + 20
            TextEdit {
                id: codeText
                anchors { left: parent.left; right: copy.left; top: parent.top; margins: 10 }
                text: loader.block.text
                font.family: Theme.codeFont
                font.pointSize: 12.5
                color: Theme.text
                readOnly: true
                selectByMouse: true
                wrapMode: Text.WrapAnywhere
            }
            ToolButton {
                id: copy
                anchors { right: parent.right; top: parent.top; margins: 4 }
                property bool copied: false
                contentItem: Icon { symbol: copy.copied ? "checkmark" : "doc.on.doc"; horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter }
                Accessible.name: "Copy code"
                ToolTip.visible: hovered; ToolTip.text: copied ? "Copied" : "Copy"
                onClicked: { loader.session.copyText(loader.block.text); copied = true }
            }
        }
    }
    Component {
        id: list
        Column {
            spacing: 3
            leftPadding: 4 + loader.block.indent * 16
            Repeater {
                model: loader.block.items
                delegate: Row {
                    required property string modelData
                    required property int index
                    spacing: 6
                    Label {
                        textFormat: Text.PlainText
                        text: loader.block.kind === "ordered" ? (loader.block.start + index) + "." : "•"
                        color: Theme.secondaryText
                        width: 18
                        horizontalAlignment: Text.AlignRight
                    }
                    TextEdit {
                        width: loader.width - 40 - loader.block.indent * 16
                        text: modelData
                        textFormat: TextEdit.RichText
                        onLinkActivated: (link) => Links.open(link)
                        wrapMode: Text.Wrap
                        readOnly: true
                        selectByMouse: true
                        color: Theme.text
                    }
                }
            }
        }
    }
    Component {
        id: quote
        Item {
            implicitHeight: quoteText.implicitHeight + 4
            Rectangle { width: 3; height: parent.height; radius: 1.5; color: Theme.border }
            TextEdit {
                id: quoteText
                anchors { left: parent.left; right: parent.right; leftMargin: 12 }
                text: loader.block.text
                textFormat: TextEdit.RichText
                onLinkActivated: (link) => Links.open(link)
                wrapMode: Text.Wrap
                readOnly: true
                color: Theme.secondaryText
            }
        }
    }
    Component {
        id: table
        Rectangle {
            radius: 6
            border.color: Theme.border
            color: "transparent"
            implicitHeight: grid.implicitHeight + 2
            clip: true
            GridLayout {
                id: grid
                x: 1; y: 1
                width: parent.width - 2
                columns: Math.max(1, loader.block.header.length)
                rowSpacing: 0
                columnSpacing: 0
                Repeater {
                    model: loader.block.header
                    delegate: Rectangle {
                        required property string modelData
                        Layout.fillWidth: true
                        implicitHeight: headerCell.implicitHeight + 12
                        color: Theme.surface
                        Text {
                            id: headerCell
                            anchors { fill: parent; margins: 6 }
                            text: modelData; textFormat: Text.RichText; onLinkActivated: (link) => Links.open(link); wrapMode: Text.Wrap
                            color: Theme.text; font.weight: Font.DemiBold
                        }
                    }
                }
                Repeater {
                    model: loader.block.rows.reduce((cells, row) => cells.concat(row.concat(Array(Math.max(0, grid.columns - row.length)).fill("")).slice(0, grid.columns)), [])
                    delegate: Rectangle {
                        required property string modelData
                        Layout.fillWidth: true
                        implicitHeight: cell.implicitHeight + 12
                        color: "transparent"
                        border.color: Theme.border
                        border.width: 0
                        Rectangle { anchors.top: parent.top; width: parent.width; height: 1; color: Theme.border }
                        Text {
                            id: cell
                            anchors { fill: parent; margins: 6 }
                            text: modelData; textFormat: Text.RichText; onLinkActivated: (link) => Links.open(link); wrapMode: Text.Wrap
                            color: Theme.text
                        }
                    }
                }
            }
        }
    }
    Component {
        id: rule
        Item { implicitHeight: 13; Rectangle { anchors.centerIn: parent; width: parent.width; height: 1; color: Theme.border } }
    }
    Component {
        id: report
        Column {
            spacing: 10
            Repeater {
                model: loader.block.items
                delegate: Column {
                    required property var modelData
                    required property int index
                    width: loader.width
                    spacing: 4
                    Label {
                        width: parent.width
                        text: (loader.block.ordered ? (loader.block.start + index) + ". " : "") + modelData.title
                        textFormat: Text.RichText
                        onLinkActivated: (link) => Links.open(link)
                        wrapMode: Text.Wrap
                        color: Theme.text; font.weight: Font.DemiBold
                    }
                    TextEdit {
                        width: parent.width
                        visible: text.length > 0
                        text: modelData.body
                        textFormat: TextEdit.RichText
                        onLinkActivated: (link) => Links.open(link)
                        wrapMode: Text.Wrap; readOnly: true; selectByMouse: true
                        color: Theme.text
                    }
                    Label {
                        textFormat: Text.PlainText
                        visible: modelData.sources.length > 0
                        text: modelData.sourcesTitle
                        color: Theme.secondaryText; font.pixelSize: 11; font.weight: Font.DemiBold
                        font.capitalization: Font.AllUppercase
                    }
                    Flow {
                        width: parent.width
                        spacing: 6
                        Repeater {
                            model: modelData.sources
                            delegate: Button {
                                required property var modelData
                                text: modelData.label
                                enabled: modelData.url.length > 0
                                font.pixelSize: 11
                                onClicked: Links.open(modelData.url)
                                Accessible.name: "Source: " + modelData.label
                                contentItem: Label { text: parent.text; textFormat: Text.PlainText; color: Theme.accent; font: parent.font }
                                background: Rectangle { radius: 10; color: Theme.surface; border.color: Theme.border; implicitHeight: 22 }
                            }
                        }
                    }
                }
            }
        }
    }
}

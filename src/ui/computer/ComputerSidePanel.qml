import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import QtWebEngine
import Halvex.Controls
import Halvex.Computer

// The employee's computer beside the chat: the live view of its browser session, who it belongs
// to and until when. With no session it offers to open one. The left edge drags the width,
// which is remembered.
Rectangle {
    id: side
    objectName: "computerSidePanel"
    required property ComputerPanel panel
    // The width while the edge is dragged; the panel's remembered width otherwise.
    property real dragWidth: -1
    implicitWidth: dragWidth > 0 ? dragWidth : panel.panelWidth
    color: Theme.surface

    Rectangle { anchors { left: parent.left; top: parent.top; bottom: parent.bottom } width: 1; color: Theme.border }

    // The resize handle on the left edge.
    MouseArea {
        id: edge
        objectName: "computerPanelEdge"
        anchors { left: parent.left; top: parent.top; bottom: parent.bottom }
        width: 6
        z: 2
        cursorShape: Qt.SplitHCursor
        property real startX: 0
        property real startWidth: 0
        onPressed: mouse => {
            startX = mapToItem(null, mouse.x, 0).x
            startWidth = side.width
        }
        onPositionChanged: mouse => {
            if (!pressed)
                return
            const x = mapToItem(null, mouse.x, 0).x
            side.dragWidth = Math.max(320, Math.min(1200, startWidth + startX - x))
        }
        onReleased: {
            if (side.dragWidth > 0)
                side.panel.panelWidth = side.dragWidth
            side.dragWidth = -1
        }
    }

    ColumnLayout {
        anchors.fill: parent
        anchors.leftMargin: 1
        spacing: 0

        Rectangle {
            Layout.fillWidth: true
            Layout.preferredHeight: 52
            color: Theme.window
            RowLayout {
                anchors.fill: parent
                anchors.leftMargin: 14
                anchors.rightMargin: 8
                spacing: 8
                Icon { symbol: "desktopcomputer"; size: 18 }
                ColumnLayout {
                    spacing: 1
                    Layout.fillWidth: true
                    Label {
                        objectName: "computerTitle"
                        text: side.panel.sessionTitle
                        textFormat: Text.PlainText
                        color: Theme.text; font.pixelSize: 14; font.weight: Font.DemiBold
                        elide: Text.ElideRight; Layout.fillWidth: true
                    }
                    Label {
                        objectName: "computerExpiry"
                        visible: text.length > 0
                        text: side.panel.hasSession ? side.panel.expiryText : (side.panel.viewUrl.length > 0 ? side.panel.viewUrl : "")
                        textFormat: Text.PlainText
                        color: Theme.secondaryText; font.pixelSize: 12
                        elide: Text.ElideRight; Layout.fillWidth: true
                    }
                }
                BusyIndicator { visible: side.panel.opening; running: visible; implicitWidth: 18; implicitHeight: 18 }
                ToolButton {
                    objectName: "computerServicesButton"
                    contentItem: Icon { symbol: "globe"; size: 18; horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter }
                    onClicked: side.panel.showBrowser()
                    Accessible.name: "Sign in to a service"
                    ToolTip.visible: hovered; ToolTip.text: "Sign the employee in to a service"
                }
                ToolButton {
                    objectName: "computerReload"
                    visible: side.panel.viewUrl.length > 0
                    contentItem: Icon { symbol: "arrow.clockwise"; size: 18; horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter }
                    onClicked: if (webLoader.item) webLoader.item.reload()
                    Accessible.name: "Reload the live view"
                }
                ToolButton {
                    objectName: "computerClose"
                    contentItem: Icon { symbol: "xmark"; size: 18; horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter }
                    onClicked: side.panel.closePanel()
                    Accessible.name: "Close the computer"
                    ToolTip.visible: hovered; ToolTip.text: "Close (Ctrl+Shift+B)"
                }
            }
            Rectangle { anchors.bottom: parent.bottom; width: parent.width; height: 1; color: Theme.border }
        }

        Label {
            objectName: "computerError"
            visible: text.length > 0
            text: side.panel.error
            textFormat: Text.PlainText
            color: Theme.danger; wrapMode: Text.WordWrap
            Layout.fillWidth: true; Layout.margins: 10
        }

        Item {
            Layout.fillWidth: true
            Layout.fillHeight: true

            // Loaded only while there is something to show, so the web engine starts with the
            // first live view.
            Loader {
                id: webLoader
                anchors.fill: parent
                active: side.panel.viewUrl.length > 0
                sourceComponent: WebEngineView {
                    objectName: "computerLiveView"
                    url: side.panel.viewUrl
                    // The live view is the service's own page; links it opens go to the desktop browser.
                    onNewWindowRequested: request => Qt.openUrlExternally(request.requestedUrl)
                }
            }

            ColumnLayout {
                objectName: "computerStart"
                visible: !webLoader.active
                anchors.centerIn: parent
                width: Math.min(parent.width - 48, 380)
                spacing: 10
                Icon { symbol: "desktopcomputer"; size: 40; Layout.alignment: Qt.AlignHCenter }
                Label {
                    textFormat: Text.PlainText
                    Layout.fillWidth: true
                    horizontalAlignment: Text.AlignHCenter
                    wrapMode: Text.WordWrap
                    text: side.panel.status === "unavailable"
                          ? "No browser is available for " + side.panel.agentName + " right now."
                          : "When " + side.panel.agentName + " browses the web, you can watch it here. You can also open its computer yourself."
                    color: Theme.secondaryText
                }
                RowLayout {
                    Layout.fillWidth: true
                    spacing: 6
                    PlainField {
                        id: startAddress
                        objectName: "computerStartAddress"
                        placeholderText: "https:// (optional)"
                        Layout.fillWidth: true
                        onAccepted: side.panel.openComputer(text)
                        Accessible.name: "Start address"
                    }
                    AccentButton {
                        objectName: "openComputer"
                        text: "Open computer"
                        enabled: !side.panel.opening
                        onClicked: side.panel.openComputer(startAddress.text)
                    }
                }
                PlainButton {
                    objectName: "computerBrowseServices"
                    text: "Sign in to a service…"
                    Layout.alignment: Qt.AlignHCenter
                    onClicked: side.panel.showBrowser()
                }
            }
        }
    }
}

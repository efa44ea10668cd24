import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Marketplace

// Ready-made employees to hire: filters by service, cards loaded nine at a time as the list
// nears its end, a retry when a batch fails, and the hire sheet.
Rectangle {
    id: view
    objectName: "marketplaceView"
    required property MarketplaceScreen market
    color: Theme.window
    Keys.onEscapePressed: market.hireOpen ? market.closeHire() : market.close()
    Component.onCompleted: forceActiveFocus()

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 24
        spacing: 14

        RowLayout {
            Layout.fillWidth: true
            Label { text: "Marketplace"; color: Theme.text; font.pixelSize: 20; font.weight: Font.DemiBold; Layout.fillWidth: true }
            ToolButton {
                contentItem: Icon { symbol: "xmark"; size: 18; horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter }
                onClicked: view.market.close()
                Accessible.name: "Close marketplace"
                ToolTip.visible: hovered; ToolTip.text: "Close (Esc)"
            }
        }
        Flow {
            Layout.fillWidth: true
            spacing: 6
            Repeater {
                model: view.market.primaryFilters.concat(view.market.secondaryFilters)
                delegate: Chip {
                    required property string modelData
                    objectName: "marketFilter"
                    text: modelData
                    symbol: view.market.filter === modelData ? "checkmark" : ""
                    onClicked: view.market.filter = modelData
                    Accessible.checked: view.market.filter === modelData
                }
            }
        }
        Label {
            visible: view.market.needsLogin
            text: "Sign in again to see the marketplace."
            color: Theme.danger
        }
        RowLayout {
            visible: view.market.error.length > 0
            Label { textFormat: Text.PlainText; text: view.market.error; color: Theme.danger; wrapMode: Text.WordWrap; Layout.fillWidth: true }
            PlainButton { text: "Try again"; onClicked: view.market.reload() }
        }
        Spinner { visible: view.market.loading; running: visible; size: 24; Layout.alignment: Qt.AlignHCenter }

        GridView {
            id: grid
            objectName: "marketGrid"
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            cellWidth: Math.max(260, Math.floor(width / Math.max(1, Math.floor(width / 300))))
            cellHeight: 190
            model: view.market.workers
            boundsBehavior: Flickable.StopAtBounds
            ScrollBar.vertical: ScrollBar {}
            // Near the end of what is loaded: the next batch, once per approach.
            readonly property bool nearEnd: contentHeight - contentY - height < cellHeight * 1.5
            onNearEndChanged: if (nearEnd && view.market.hasMore) view.market.loadMore()
            onCountChanged: if (nearEnd && view.market.hasMore) Qt.callLater(view.market.loadMore)
            delegate: Item {
                required property var modelData
                width: grid.cellWidth
                height: grid.cellHeight
                Rectangle {
                    anchors.fill: parent
                    anchors.margins: 6
                    radius: 10
                    color: Theme.surface
                    border.color: Theme.border
                    ColumnLayout {
                        anchors.fill: parent
                        anchors.margins: 12
                        spacing: 4
                        Label { text: modelData.name; textFormat: Text.PlainText; color: Theme.text; font.weight: Font.DemiBold; elide: Text.ElideRight; Layout.fillWidth: true }
                        Label { text: modelData.specialty; textFormat: Text.PlainText; color: Theme.accent; font.pixelSize: 12; elide: Text.ElideRight; Layout.fillWidth: true }
                        Label { text: modelData.pitch; textFormat: Text.PlainText; color: Theme.secondaryText; wrapMode: Text.WordWrap; maximumLineCount: 3; elide: Text.ElideRight; Layout.fillWidth: true; Layout.fillHeight: true }
                        RowLayout {
                            Layout.fillWidth: true
                            Label { textFormat: Text.PlainText; text: modelData.runs + (modelData.rating.length > 0 ? " · ★ " + modelData.rating : ""); color: Theme.secondaryText; font.pixelSize: 11; Layout.fillWidth: true }
                            AccentButton {
                                text: "Hire"
                                onClicked: view.market.startHire(modelData.id)
                                Accessible.name: "Hire " + modelData.name
                            }
                        }
                    }
                }
            }
            footer: Item {
                width: grid.width
                height: view.market.loadingPage || view.market.paginationFailed ? 48 : 0
                Spinner { anchors.centerIn: parent; visible: view.market.loadingPage; running: visible; size: 20 }
                PlainButton {
                    anchors.centerIn: parent
                    visible: view.market.paginationFailed
                    text: "Couldn't load more — try again"
                    onClicked: { view.market.reload() }
                }
            }
        }
    }

    HireSheet {
        market: view.market
    }
}

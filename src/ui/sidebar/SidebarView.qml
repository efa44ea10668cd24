import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Sidebar

Rectangle {
    id: sidebar
    required property SidebarRows rows
    color: Theme.sidebar
    function focusSearch() { search.forceActiveFocus(); search.selectAll() }

    // The model bumps the tick; every bump focuses the field.
    property int focusTick: rows ? rows.searchFocusTick : 0
    onFocusTickChanged: focusSearch()

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 10
        spacing: 8

        RowLayout {
            Layout.fillWidth: true
            Text {
                text: "Halvex"; font.pixelSize: 15; font.weight: Font.DemiBold; color: Theme.text
                Layout.fillWidth: true
            }
            UpdateBadge {}
            ToolButton {
                id: newButton
                objectName: "newEmployee"
                contentItem: Icon { symbol: "plus"; horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter }
                onClicked: {
                    newMenu.active = true
                    newMenu.item.popup(newButton, 0, newButton.height)
                }
                Accessible.name: "New employee"
                ToolTip.visible: hovered; ToolTip.text: "New employee (Ctrl+N)"
                // The menu and the model chat's popup are made when first opened.
                SheetLoader {
                    id: newChat
                    objectName: "newChatLoader"
                    active: false
                    function open() { active = true; item.open() }
                    address: "qrc:/Halvex/Sidebar/NewChatPopup.qml"
                    initialProperties: ({ rows: sidebar.rows, parent: Overlay.overlay, x: 300, y: 60 })
                }
                Loader {
                    id: newMenu
                    active: false
                    sourceComponent: Menu {
                        MenuItem { text: "New chat with a model"; onTriggered: newChat.open() }
                        MenuSeparator {}
                        MenuItem { text: "New employee"; onTriggered: sidebar.rows.startCreating("employee") }
                        MenuItem { text: "New worker"; onTriggered: if (Screens.workerBuilder) Screens.workerBuilder.startNew() }
                        MenuItem { text: "New team"; onTriggered: sidebar.rows.startCreating("team") }
                        MenuItem { text: "New project"; onTriggered: if (Screens.projectIntake) Screens.projectIntake.start() }
                        MenuSeparator {}
                        MenuItem { text: "Hire from the marketplace"; onTriggered: sidebar.rows.showMarketplace() }
                    }
                }
            }
            ToolButton {
                objectName: "hideSidebar"
                contentItem: Icon { symbol: "sidebar.left"; horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter }
                onClicked: sidebar.rows.collapsed = true
                Accessible.name: "Hide sidebar"
                ToolTip.visible: hovered; ToolTip.text: "Hide sidebar (Ctrl+Shift+S)"
            }
        }

        TextField {
            id: search
            objectName: "sidebarSearch"
            Layout.fillWidth: true
            placeholderText: "Search (Ctrl+K)"
            placeholderTextColor: Theme.secondaryText
            leftPadding: 30
            color: Theme.text
            selectByMouse: true
            text: sidebar.rows ? sidebar.rows.search : ""
            onTextEdited: sidebar.rows.search = text
            Accessible.name: "Search employees"
            Icon { symbol: "magnifyingglass"; anchors.left: parent.left; anchors.leftMargin: 9; anchors.verticalCenter: parent.verticalCenter }
            background: Rectangle {
                implicitHeight: 30; radius: 7; color: Theme.raised
                border.color: search.activeFocus ? Theme.focusRing : Theme.border
                border.width: search.activeFocus ? 2 : 1
            }
            Keys.onEscapePressed: { sidebar.rows.search = ""; list.forceActiveFocus() }
            Keys.onDownPressed: list.forceActiveFocus()
            onAccepted: list.forceActiveFocus()
        }

        TabBar {
            id: tabs
            objectName: "sidebarTabs"
            Layout.fillWidth: true
            currentIndex: sidebar.rows ? sidebar.rows.tab : 1
            background: Rectangle { color: "transparent" }
            Repeater {
                model: [{ title: "Chats", icon: "bubble.left" }, { title: "Employees", icon: "person.2" }, { title: "Projects", icon: "folder" }]
                delegate: TabButton {
                    id: tabButton
                    required property int index
                    required property var modelData
                    text: modelData.title
                    Accessible.name: modelData.title
                    onClicked: sidebar.rows.selectTab(index)
                    contentItem: Text {
                        textFormat: Text.PlainText
                        text: tabButton.text; horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter
                        color: tabButton.checked ? Theme.text : Theme.secondaryText
                        font.weight: tabButton.checked ? Font.DemiBold : Font.Normal
                    }
                    background: Rectangle {
                        implicitHeight: 28; radius: 6
                        color: tabButton.checked ? Theme.selection : tabButton.hovered ? Theme.hover : "transparent"
                        border.width: tabButton.visualFocus ? 2 : 0; border.color: Theme.focusRing
                    }
                }
            }
        }

        Text {
            objectName: "sidebarError"
            textFormat: Text.PlainText
            visible: text.length > 0
            text: sidebar.rows ? sidebar.rows.error : ""
            color: Theme.danger; wrapMode: Text.WordWrap; Layout.fillWidth: true
        }

        // The projects tab starts a new project at the top of its list; made with that tab.
        Loader {
            active: sidebar.rows !== null && sidebar.rows.tab === 2 && Screens.projectIntake !== undefined
                    && Screens.projectIntake !== null
            visible: active
            Layout.fillWidth: true
            sourceComponent: PlainButton {
                objectName: "newProject"
                text: "New project"
                onClicked: Screens.projectIntake.start()
                ToolTip.visible: hovered; ToolTip.text: "New project (Ctrl+Shift+P)"
            }
        }

        ListView {
            id: list
            objectName: "sidebarList"
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            model: sidebar.rows
            activeFocusOnTab: true
            keyNavigationEnabled: true
            highlightFollowsCurrentItem: false
            reuseItems: true
            boundsBehavior: Flickable.StopAtBounds
            Accessible.role: Accessible.List
            Accessible.name: "Employees and chats"
            delegate: SidebarRowDelegate {
                width: list.width
                rows: sidebar.rows
                current: ListView.isCurrentItem
                listFocused: list.activeFocus
                onRenameFinished: list.forceActiveFocus()
            }
            Keys.onReturnPressed: if (currentItem) currentItem.activate()
            Keys.onEnterPressed: if (currentItem) currentItem.activate()
            Keys.onSpacePressed: if (currentItem) currentItem.activate()
            Keys.onLeftPressed: if (currentItem && currentItem.foldable && currentItem.expanded) sidebar.rows.toggleFold(currentItem.identity)
            Keys.onRightPressed: if (currentItem && currentItem.foldable && !currentItem.expanded) sidebar.rows.toggleFold(currentItem.identity)
            Keys.onPressed: (event) => {
                if (!currentItem)
                    return
                if (event.key === Qt.Key_F2) { currentItem.startRename(); event.accepted = true }
                else if (event.key === Qt.Key_Delete) { currentItem.askDelete(); event.accepted = true }
            }
            ScrollBar.vertical: ScrollBar {}

            Text {
                textFormat: Text.PlainText
                anchors.centerIn: parent
                visible: list.count === 0
                text: sidebar.rows && sidebar.rows.search.length > 0 ? "Nothing matches “" + sidebar.rows.search + "”." : "Nothing here yet."
                color: Theme.secondaryText
            }
        }

        Rectangle { Layout.fillWidth: true; height: 1; color: Theme.border }
        // This month's spend against the plan's allowance; a click opens billing.
        ColumnLayout {
            id: meter
            objectName: "usageMeter"
            readonly property UsageMeter usage: Screens.usage !== undefined ? Screens.usage : null
            visible: usage !== null && usage.available
            Layout.fillWidth: true
            spacing: 3
            RowLayout {
                Layout.fillWidth: true
                Text { textFormat: Text.PlainText; text: meter.usage ? meter.usage.spentText : ""; color: Theme.text; font.pixelSize: 11; Layout.fillWidth: true }
                Text { textFormat: Text.PlainText; text: meter.usage ? meter.usage.limitText : ""; color: Theme.secondaryText; font.pixelSize: 11 }
            }
            Rectangle {
                Layout.fillWidth: true
                implicitHeight: 5; radius: 3; color: Theme.hover
                Rectangle {
                    width: parent.width * (meter.usage ? meter.usage.progress : 0)
                    height: parent.height; radius: 3
                    color: meter.usage && meter.usage.progress >= 0.9 ? Theme.danger : Theme.accent
                }
            }
            TapHandler { onTapped: Window.window.openSettings("billing") }
            Accessible.role: Accessible.ProgressBar
            Accessible.name: meter.usage ? meter.usage.spentText + " of " + meter.usage.limitText : ""
        }
        RowLayout {
            Layout.fillWidth: true
            Icon { symbol: "person" }
            ColumnLayout {
                spacing: 0
                Layout.fillWidth: true
                Text { textFormat: Text.PlainText; text: sidebar.rows ? sidebar.rows.accountName : ""; color: Theme.text; elide: Text.ElideRight; Layout.fillWidth: true }
                Text { textFormat: Text.PlainText; text: sidebar.rows ? sidebar.rows.accountEmail : ""; color: Theme.secondaryText; font.pixelSize: 11; elide: Text.ElideRight; Layout.fillWidth: true; visible: sidebar.rows !== null && sidebar.rows.accountName !== sidebar.rows.accountEmail }
            }
            ToolButton {
                objectName: "openSettings"
                contentItem: Icon { symbol: "gearshape"; horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter }
                onClicked: Window.window.openSettings()
                Accessible.name: "Settings"
                ToolTip.visible: hovered; ToolTip.text: "Settings… (Ctrl+,)"
            }
        }
    }
}

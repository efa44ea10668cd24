import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Sidebar

// One sidebar row. The list owns keyboard focus; a row shows the focus ring when it is current.
// Plain items and pointer handlers rather than an item delegate: the rows are most of the
// window's first frame, and the control's own bindings made a third of each row's cost.
Item {
    id: row
    required property SidebarRows rows
    required property int index
    required property string kind
    required property string identity
    required property string title
    required property string subtitle
    required property int unread
    required property bool expanded
    required property string avatar
    property bool current: false
    property bool listFocused: false
    readonly property bool header: kind === "section"
    readonly property bool foldable: header || kind === "team"
    readonly property bool editable: kind === "agent" || kind === "member"
    readonly property bool selected: !header && rows !== null && rows.selectedId === identity
    property bool renaming: false
    signal renameFinished()

    readonly property bool hovered: hover.hovered
    height: header ? 30 : 34
    Accessible.role: header ? Accessible.StaticText : Accessible.ListItem
    Accessible.name: title
                     + (kind === "team" && subtitle.length > 0 ? (subtitle === "1" ? ", 1 member" : ", " + subtitle + " members") : "")
                     + (unread > 0 ? ", " + unread + " unread" : "")
    Accessible.selected: selected
    Accessible.onPressAction: activate()

    function activate() {
        if (header)
            rows.toggleFold(identity)
        else
            rows.select(identity)
    }
    // The rename field, the row's menu and the delete question are made when first wanted: a
    // sidebar of forty rows would otherwise make forty of each with the window.
    function startRename() {
        if (!editable)
            return
        renaming = true
        const field = renameLoader.item
        field.text = title
        field.forceActiveFocus()
        field.selectAll()
    }
    function askDelete() {
        if (!editable)
            return
        deleteLoader.active = true
        deleteLoader.item.open()
    }
    HoverHandler { id: hover }
    // A team's chevron only folds it; anywhere else the row opens its chat (or folds a section).
    TapHandler {
        onTapped: (point) => {
            if (!foldTap.enabled || !chevron.contains(chevron.mapFromItem(row, point.position)))
                row.activate()
        }
    }

    Rectangle {
        anchors.fill: parent
        radius: 7
        color: row.selected ? Theme.selection
             : row.hovered && !row.header ? Theme.hover : "transparent"
        border.width: row.current && row.listFocused ? 2 : 0
        border.color: Theme.focusRing
    }
    RowLayout {
        anchors { fill: parent; leftMargin: row.kind === "member" ? 32 : 8; rightMargin: 8 }
        spacing: 6
        Icon {
            id: chevron
            objectName: "foldChevron"
            visible: row.foldable
            symbol: row.expanded ? "chevron.down" : "chevron.right"
            size: row.header ? 14 : 16
            Layout.preferredWidth: 16
            TapHandler { id: foldTap; enabled: row.kind === "team"; onTapped: row.rows.toggleFold(row.identity) }
        }
        Icon {
            visible: !row.header && picture.status !== Image.Ready
            symbol: row.kind === "team" ? "person.3" : row.kind === "project" ? "folder" : "person"
            color: row.selected ? Theme.accent : Theme.secondaryText
        }
        // The employee's picture, at the pixels it is shown at; the icon stands in until it loads.
        Image {
            id: picture
            readonly property int side: Math.ceil(20 * Math.max(1, Screen.devicePixelRatio))
            visible: status === Image.Ready
            source: row.avatar.length > 0 && !row.header
                    ? "image://remote/avatar/" + side + "x" + side + "/" + encodeURIComponent(row.avatar) : ""
            sourceSize: Qt.size(side, side)
            Layout.preferredWidth: 20
            Layout.preferredHeight: 20
            asynchronous: true
            cache: false
        }
        Text {
            textFormat: Text.PlainText
            visible: !row.renaming
            text: row.title
            Layout.fillWidth: true
            elide: Text.ElideRight
            color: row.header ? Theme.secondaryText : Theme.text
            font.pixelSize: row.header ? 11 : 13
            font.weight: row.header || row.unread > 0 ? Font.DemiBold : Font.Normal
            font.capitalization: row.header ? Font.AllUppercase : Font.MixedCase
            font.letterSpacing: row.header ? 0.6 : 0
        }
        // The member count: an outlined figure with a people symbol, unlike the filled unread badge.
        // Made only in the rows that show it, like the unread badge: most rows show neither.
        Loader {
            active: row.kind === "team" && !row.renaming && row.subtitle.length > 0
            visible: active
            sourceComponent: Rectangle {
                objectName: "teamMemberCount"
                radius: 4; height: 18; width: memberCount.implicitWidth + 10
                color: "transparent"
                border.color: Theme.border; border.width: 1
                Accessible.role: Accessible.StaticText
                Accessible.name: row.subtitle === "1" ? "1 member" : row.subtitle + " members"
                RowLayout {
                    id: memberCount
                    anchors.centerIn: parent
                    spacing: 2
                    Icon { symbol: "person"; size: 11 }
                    Text { textFormat: Text.PlainText; text: row.subtitle; color: Theme.secondaryText; font.pixelSize: 11 }
                }
            }
        }
        Loader {
            id: renameLoader
            active: row.renaming
            visible: active
            Layout.fillWidth: true
            sourceComponent: TextField {
                objectName: "renameField"
                color: Theme.text
                selectByMouse: true
                Accessible.name: "New name"
                background: Rectangle { radius: 5; color: Theme.raised; border.color: Theme.focusRing; border.width: 1 }
                onAccepted: { row.rows.rename(row.identity, text); row.renaming = false; row.renameFinished() }
                Keys.onEscapePressed: { row.renaming = false; row.renameFinished() }
                onActiveFocusChanged: if (!activeFocus) row.renaming = false
            }
        }
        Loader {
            active: row.unread > 0
            visible: active
            sourceComponent: Rectangle {
                objectName: "unreadBadge"
                radius: 9; height: 18; width: Math.max(18, count.implicitWidth + 10)
                color: Theme.accent
                Accessible.ignored: true
                Text {
                    id: count
                    textFormat: Text.PlainText
                    anchors.centerIn: parent
                    text: row.unread > 99 ? "99+" : row.unread
                    color: Theme.accentText; font.pixelSize: 11; font.weight: Font.DemiBold
                }
            }
        }
    }

    TapHandler {
        acceptedButtons: Qt.RightButton
        enabled: row.editable
        onTapped: {
            menuLoader.active = true
            menuLoader.item.popup()
        }
    }
    Loader {
        id: menuLoader
        active: false
        sourceComponent: Menu {
            objectName: "rowMenu"
            Action { text: "Rename…"; onTriggered: row.startRename() }
            Action { text: "Delete…"; onTriggered: row.askDelete() }
        }
    }
    SheetLoader {
        id: deleteLoader
        active: false
        address: "qrc:/Halvex/Sidebar/RowDeleteQuestion.qml"
        initialProperties: ({ row: row })
    }
}

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Chat

// Find in the open chat: the query, "2 of 5", older and newer match, close. Return steps to the
// older match (the search starts at the newest), Shift+Return to the newer one; Esc closes and
// gives the focus back to where it was.
Rectangle {
    id: bar
    objectName: "findBar"
    required property ChatFindModel find
    property Item returnFocusTo: null
    visible: false
    implicitHeight: 44
    color: Theme.raised
    border.color: Theme.border
    radius: 8
    Accessible.role: Accessible.ToolBar
    Accessible.name: "Find in chat"
    // Esc from the field or any of the buttons.
    Keys.onEscapePressed: bar.close()

    function open() {
        if (!bar.visible)
            bar.returnFocusTo = Window.activeFocusItem
        bar.visible = true
        field.forceActiveFocus()
        field.selectAll()
    }
    function close() {
        if (!bar.visible)
            return
        bar.visible = false
        if (bar.find)
            bar.find.clear()
        const back = bar.returnFocusTo
        bar.returnFocusTo = null
        if (back && back.visible && back.enabled)
            back.forceActiveFocus()
    }

    RowLayout {
        anchors.fill: parent
        anchors.leftMargin: 10
        anchors.rightMargin: 6
        spacing: 4
        Icon { symbol: "magnifyingglass"; size: 16 }
        PlainField {
            id: field
            objectName: "findField"
            Layout.fillWidth: true
            placeholderText: "Find in chat"
            Accessible.name: "Find in chat"
            text: bar.find ? bar.find.query : ""
            onTextEdited: if (bar.find) bar.find.query = text
            background: null
            Keys.onReturnPressed: (event) => { if (event.modifiers & Qt.ShiftModifier) bar.find.next(); else bar.find.previous() }
            Keys.onEnterPressed: (event) => { if (event.modifiers & Qt.ShiftModifier) bar.find.next(); else bar.find.previous() }
        }
        Label {
            objectName: "findCount"
            textFormat: Text.PlainText
            readonly property bool searching: bar.find !== null && bar.find.query.length > 0
            visible: searching
            text: !searching ? "" : bar.find.count === 0 ? "No matches" : bar.find.current + " of " + bar.find.count
            color: searching && bar.find.count === 0 ? Theme.danger : Theme.secondaryText
            font.pixelSize: 12
            Accessible.role: Accessible.StaticText
            Accessible.name: text
        }
        IconButton {
            objectName: "findOlder"
            name: "Older match"
            tip: "Older match (" + ShortcutCatalog.hint("findPrevious") + ")"
            symbol: "chevron.up"
            enabled: bar.find !== null && bar.find.count > 0
            onClicked: bar.find.previous()
        }
        IconButton {
            objectName: "findNewer"
            name: "Newer match"
            tip: "Newer match (" + ShortcutCatalog.hint("findNext") + ")"
            symbol: "chevron.down"
            enabled: bar.find !== null && bar.find.count > 0
            onClicked: bar.find.next()
        }
        IconButton {
            objectName: "findClose"
            name: "Close find"
            symbol: "xmark"
            onClicked: bar.close()
        }
    }
    Shortcut { sequences: ShortcutCatalog.keys("findPrevious"); enabled: bar.visible; onActivated: bar.find.previous() }
    Shortcut { sequences: ShortcutCatalog.keys("findNext"); enabled: bar.visible; onActivated: bar.find.next() }
}

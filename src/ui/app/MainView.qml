import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Session
import Halvex.Sidebar
import Halvex.Chat
import Halvex.Settings
import Halvex

Item {
    id: main
    objectName: "mainView"
    readonly property SidebarRows rows: Screens.sidebar

    function focusSearch() {
        if (main.rows) main.rows.collapsed = false
        main.rows.focusSearch()
    }
    Shortcut { sequences: ["Ctrl+K", "Ctrl+F"]; onActivated: main.focusSearch() }
    Shortcut { sequence: "Ctrl+Shift+S"; onActivated: if (main.rows) main.rows.collapsed = !main.rows.collapsed }

    RowLayout {
        anchors.fill: parent
        spacing: 0
        SidebarView {
            objectName: "sidebar"
            rows: main.rows
            visible: !(main.rows && main.rows.collapsed)
            Layout.preferredWidth: 280
            Layout.fillHeight: true
        }
        Rectangle { width: 1; Layout.fillHeight: true; color: Theme.border; visible: !(main.rows && main.rows.collapsed) }
        ChatPane {
            rows: main.rows
            Layout.fillWidth: true
            Layout.fillHeight: true
        }
    }
}

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex

Item {
    id: main
    objectName: "mainView"
    readonly property SidebarRows rows: AppShell.sidebar

    function focusSearch() {
        AppShell.sidebarCollapsed = false
        main.rows.focusSearch()
    }
    Shortcut { sequences: ["Ctrl+K", "Ctrl+F"]; onActivated: main.focusSearch() }
    Shortcut { sequence: "Ctrl+Shift+S"; onActivated: AppShell.sidebarCollapsed = !AppShell.sidebarCollapsed }

    RowLayout {
        anchors.fill: parent
        spacing: 0
        SidebarView {
            objectName: "sidebar"
            rows: main.rows
            visible: !AppShell.sidebarCollapsed
            Layout.preferredWidth: 280
            Layout.fillHeight: true
        }
        Rectangle { width: 1; Layout.fillHeight: true; color: Theme.border; visible: !AppShell.sidebarCollapsed }
        ChatPane {
            rows: main.rows
            Layout.fillWidth: true
            Layout.fillHeight: true
        }
    }
}

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Settings

// The employee an employee page shows; shared with the identity page, so every page follows it.
ColumnLayout {
    id: picker
    readonly property IdentitySettings identity: Screens.identity !== undefined ? Screens.identity : null
    spacing: 4
    Label { text: "Employee"; color: Theme.secondaryText; font.pixelSize: 12 }
    ComboBox {
        objectName: "settingsEmployee"
        Layout.preferredWidth: 320
        model: picker.identity ? picker.identity.agents : []
        textRole: "name"
        valueRole: "id"
        currentIndex: picker.identity ? picker.identity.agents.findIndex(a => a.id === picker.identity.agentId) : -1
        onActivated: picker.identity.selectAgent(currentValue)
        Accessible.name: "Employee"
    }
}

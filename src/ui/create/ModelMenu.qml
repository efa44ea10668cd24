import QtQuick
import QtQuick.Controls
import Halvex.Controls
import Halvex.Create

// A model to build or run with; "Account default" leaves the choice to the account.
ComboBox {
    id: menu
    property string selected: ""
    signal picked(string id)
    readonly property var entries: Screens.create ? Screens.create.models : []
    model: entries.map(e => e.group.length > 0 ? e.label + " · " + e.group : e.label)
    currentIndex: Math.max(0, entries.findIndex(e => e.id === menu.selected))
    onActivated: (i) => menu.picked(entries[i].id)
    implicitWidth: 260
}

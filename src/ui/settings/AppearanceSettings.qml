import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Settings

ColumnLayout {
    spacing: 10
    Label { text: "Colour scheme"; color: Theme.secondaryText }
    ButtonGroup { id: schemes }
    Repeater {
        model: [{ title: "Light", mode: "light" }, { title: "Dark", mode: "gray" }]
        delegate: RadioButton {
            id: choice
            required property var modelData
            objectName: "scheme-" + modelData.mode
            ButtonGroup.group: schemes
            text: modelData.title
            checked: (modelData.mode === "gray") === Theme.dark
            onClicked: Theme.mode = modelData.mode
            Accessible.name: modelData.title + " colour scheme"
            contentItem: Label { text: choice.text; color: Theme.text; leftPadding: choice.indicator.width + 6; verticalAlignment: Text.AlignVCenter }
        }
    }
}

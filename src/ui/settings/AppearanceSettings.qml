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
        model: [{ title: "Light", mode: "light" }, { title: "Dark", mode: "gray" }, { title: "System", mode: "system" }]
        delegate: RadioButton {
            id: choice
            required property var modelData
            objectName: "scheme-" + modelData.mode
            ButtonGroup.group: schemes
            text: modelData.title
            // Any mode that is neither dark nor the desktop's is light.
            checked: modelData.mode === "light" ? (Theme.mode !== "gray" && Theme.mode !== "system")
                                                : Theme.mode === modelData.mode
            onClicked: Theme.mode = modelData.mode
            Accessible.name: modelData.title + " colour scheme"
            contentItem: Label { textFormat: Text.PlainText; text: choice.text; color: Theme.text; leftPadding: choice.indicator.width + 6; verticalAlignment: Text.AlignVCenter }
        }
    }
}

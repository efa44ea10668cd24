import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Teams

// One titled part of the team menu; its children are laid out under the title.
ColumnLayout {
    id: section
    property string title
    default property alias content: body.data
    spacing: 6
    Layout.fillWidth: true
    Label {
        textFormat: Text.PlainText
        text: section.title
        color: Theme.secondaryText
        font.pixelSize: 11; font.weight: Font.DemiBold
        font.capitalization: Font.AllUppercase; font.letterSpacing: 0.6
        Accessible.role: Accessible.Heading
    }
    ColumnLayout {
        id: body
        spacing: 6
        Layout.fillWidth: true
    }
}

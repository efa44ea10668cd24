import QtQuick
import QtQuick.Controls
import Halvex.Controls

// A tooltip of its own whose text is read as plain text. The shared one a control attaches reads
// text that starts like markup as styled text, and fetches the address of an image in it: text
// from the service or a model goes here instead.
ToolTip {
    id: tip
    contentItem: Text {
        text: tip.text
        textFormat: Text.PlainText
        font: tip.font
        wrapMode: Text.Wrap
        color: tip.palette.toolTipText
    }
}

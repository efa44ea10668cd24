import QtQuick
import Halvex.Controls

// A symbol from the shared icon table.
Text {
    textFormat: Text.PlainText
    property string symbol: ""
    property int size: 16
    text: Icons.glyph(symbol)
    font.family: Icons.fontFamily
    font.pixelSize: size
    color: Theme.secondaryText
    renderType: Text.NativeRendering
    Accessible.ignored: true
}

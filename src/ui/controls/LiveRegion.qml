import QtQuick
import Halvex.Controls

// The window's spoken line: an invisible static text whose name is what Announcer last said.
Item {
    objectName: "liveRegion"
    width: 1; height: 1
    Accessible.role: Accessible.StaticText
    Accessible.name: Announcer.message
}

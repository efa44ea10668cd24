import QtQuick
import QtQuick.Controls
import Halvex.Controls

// The keyboard focus, always visible: a ring around the control that has it whenever the
// control was reached by the keyboard and draws no ring of its own. One per window, above
// everything, following the control as it moves.
Item {
    id: frame
    parent: Overlay.overlay
    anchors.fill: parent
    z: 1000
    readonly property Item target: Window.activeFocusItem
    readonly property bool shown: target !== null && target.visualFocus === true && target.drawsFocusRing !== true
                                  && target.visible
    property rect box: Qt.rect(0, 0, 0, 0)
    visible: shown
    Accessible.ignored: true

    function place() {
        if (!frame.shown)
            return
        const p = frame.target.mapToItem(frame, 0, 0)
        const next = Qt.rect(p.x - 3, p.y - 3, frame.target.width + 6, frame.target.height + 6)
        const b = frame.box
        if (next.x !== b.x || next.y !== b.y || next.width !== b.width || next.height !== b.height)
            frame.box = next
    }
    onTargetChanged: place()
    onShownChanged: place()
    // A list scrolling or a layout moving the control draws a frame; the ring follows it there.
    Connections {
        target: frame.shown ? frame.Window.window : null
        function onAfterAnimating() { frame.place() }
    }

    Rectangle {
        x: frame.box.x; y: frame.box.y; width: frame.box.width; height: frame.box.height
        radius: 8
        color: "transparent"
        border.color: Theme.focusRing
        border.width: 2
    }
}

import QtQuick
import Halvex.Controls

// A small turning symbol for work in progress; drawn in the scheme's colours, so it reads in
// both schemes at any size.
Icon {
    id: spinner
    property bool running: visible
    symbol: "arrow.clockwise"
    color: Theme.accent
    RotationAnimator on rotation {
        running: spinner.running
        from: 0; to: 360
        duration: 1000
        loops: Animation.Infinite
    }
}

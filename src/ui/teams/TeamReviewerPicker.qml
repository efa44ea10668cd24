import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Teams

// Who reviews the team's work before it reaches the user, and how many hand-offs a task may take.
TeamMenuSection {
    id: section
    required property TeamMenu menu
    title: "Review and hand-off"
    function reset() {
        reviewer.currentIndex = Math.max(0, reviewer.handles.indexOf(menu.reviewerHandle))
        depth.value = menu.handoffDepth
    }

    GridLayout {
        columns: 3
        columnSpacing: 8
        rowSpacing: 6
        Layout.fillWidth: true
        Label { text: "Reviewer"; color: Theme.text }
        ComboBox {
            id: reviewer
            objectName: "teamReviewer"
            // The first entry clears the reviewer.
            readonly property var handles: [""].concat(section.menu.roster.map(m => m.handle).filter(h => h.length > 0))
            model: handles.map(h => h.length > 0 ? "@" + h : "No reviewer")
            Layout.fillWidth: true
            Accessible.name: "Reviewer"
            // The default arrows vanish on the dark scheme.
            indicator: Icon {
                symbol: "chevron.down"
                x: reviewer.width - width - 8
                y: (reviewer.height - height) / 2
            }
        }
        PlainButton {
            objectName: "teamReviewerSave"
            text: "Save"
            Accessible.name: "Save reviewer"
            enabled: section.menu.loaded && !section.menu.busy
            onClicked: section.menu.saveReviewer(reviewer.handles[reviewer.currentIndex])
        }
        Label { text: "Hand-off depth"; color: Theme.text }
        SpinBox {
            id: depth
            objectName: "teamHandoffDepth"
            from: 0; to: section.menu.maxHandoffDepth
            editable: true
            Layout.fillWidth: true
            Accessible.name: "Hand-off depth"
        }
        PlainButton {
            objectName: "teamHandoffSave"
            text: "Save"
            Accessible.name: "Save hand-off depth"
            enabled: section.menu.loaded && !section.menu.busy
            onClicked: section.menu.saveHandoffDepth(depth.value)
        }
    }
    Label {
        text: "How many times a task may be passed on between members before it comes back."
        color: Theme.secondaryText; font.pixelSize: 11
        wrapMode: Text.Wrap; Layout.fillWidth: true
    }
}

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Teams

// The team menu, opened from a team chat's header: members, review and hand-off, loop, budget.
Popup {
    id: popup
    objectName: "teamMenu"
    required property TeamMenu menu
    width: 700
    height: Math.min(content.implicitHeight + topPadding + bottomPadding, (parent ? parent.Window.height : 800) - 90)
    padding: 16
    modal: false
    focus: true
    onOpened: {
        menu.open()
        resetDrafts()
    }
    function resetDrafts() {
        review.reset()
        loop.reset()
        budget.reset()
    }
    // The drafts take the team's values once they have loaded.
    readonly property bool loaded: menu.loaded
    // Later, so the reviewer list has taken the loaded roster first.
    onLoadedChanged: if (loaded) Qt.callLater(resetDrafts)

    background: Rectangle { radius: 10; color: Theme.raised; border.color: Theme.border }

    contentItem: ScrollView {
        id: scroller
        clip: true
        contentWidth: availableWidth
        ColumnLayout {
            id: content
            width: scroller.availableWidth
            spacing: 14
            RowLayout {
                Layout.fillWidth: true
                spacing: 8
                Icon { symbol: "person.3"; size: 18; color: Theme.accent }
                Label {
                    textFormat: Text.PlainText
                    text: popup.menu.label
                    color: Theme.text; font.pixelSize: 15; font.weight: Font.DemiBold
                    elide: Text.ElideRight; Layout.fillWidth: true
                }
                Spinner { visible: popup.menu.busy; size: 16 }
                PlainButton { objectName: "teamMenuClose"; text: "Close"; implicitWidth: 72; onClicked: popup.close() }
            }
            Label {
                objectName: "teamMenuNotice"
                textFormat: Text.PlainText
                visible: text.length > 0
                text: popup.menu.notice
                color: Theme.success; wrapMode: Text.Wrap; Layout.fillWidth: true
            }
            Label {
                objectName: "teamMenuError"
                textFormat: Text.PlainText
                visible: text.length > 0
                text: popup.menu.error
                color: Theme.danger; wrapMode: Text.Wrap; Layout.fillWidth: true
            }
            RowLayout {
                Layout.fillWidth: true
                spacing: 24
                ColumnLayout {
                    Layout.alignment: Qt.AlignTop
                    Layout.fillWidth: true
                    Layout.preferredWidth: 1
                    spacing: 14
                    TeamRosterList { menu: popup.menu }
                    TeamReviewerPicker { id: review; menu: popup.menu }
                    TeamBudget { id: budget; menu: popup.menu }
                }
                ColumnLayout {
                    Layout.alignment: Qt.AlignTop
                    Layout.fillWidth: true
                    Layout.preferredWidth: 1
                    spacing: 14
                    TeamLoopSettings { id: loop; menu: popup.menu }
                }
            }
        }
    }
}

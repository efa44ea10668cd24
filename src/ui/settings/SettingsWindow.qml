import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import QtQuick.Window
import Halvex.Controls
import Halvex.Settings

ApplicationWindow {
    id: win
    objectName: "settingsWindow"
    palette.link: Theme.accent
    palette.text: Theme.text
    palette.windowText: Theme.text
    palette.base: Theme.raised
    palette.placeholderText: Theme.secondaryText
    title: "Settings"
    width: 880
    height: 660
    minimumWidth: 720
    minimumHeight: 520
    color: Theme.window
    property string current: "appearance"
    readonly property var entry: SettingsSections.all.find(e => e.id === win.current)
    function show(section) { if (section) current = section; visible = true }
    onCurrentChanged: if (current === "identity" && Screens.identity) Screens.identity.open()

    Shortcut { sequences: [StandardKey.Close]; onActivated: win.close() }
    Shortcut { sequences: ShortcutCatalog.keys("closeSheet"); onActivated: win.close() }
    FocusFrame {}

    RowLayout {
        anchors.fill: parent
        spacing: 0
        Rectangle {
            Layout.preferredWidth: 220
            Layout.fillHeight: true
            color: Theme.sidebar
            ListView {
                id: nav
                objectName: "settingsNav"
                anchors.fill: parent
                anchors.margins: 10
                model: SettingsSections.all
                focus: true
                activeFocusOnTab: true
                keyNavigationEnabled: true
                currentIndex: SettingsSections.all.findIndex(e => e.id === win.current)
                onCurrentIndexChanged: if (currentIndex >= 0) win.current = SettingsSections.all[currentIndex].id
                Accessible.role: Accessible.List
                Accessible.name: "Settings sections"
                section.property: "groupTitle"
                section.delegate: Label {
                    textFormat: Text.PlainText
                    required property string section
                    text: section; color: Theme.secondaryText; font.pixelSize: 11; font.weight: Font.DemiBold
                    font.capitalization: Font.AllUppercase; topPadding: 12; bottomPadding: 4; leftPadding: 8
                }
                delegate: ItemDelegate {
                    id: navRow
                    required property var modelData
                    required property int index
                    width: nav.width
                    height: 32
                    focusPolicy: Qt.NoFocus
                    Accessible.name: modelData.title
                    onClicked: { win.current = modelData.id; nav.forceActiveFocus() }
                    background: Rectangle {
                        radius: 7
                        color: win.current === navRow.modelData.id ? Theme.selection : navRow.hovered ? Theme.hover : "transparent"
                        border.width: nav.activeFocus && navRow.ListView.isCurrentItem ? 2 : 0
                        border.color: Theme.focusRing
                    }
                    contentItem: RowLayout {
                        spacing: 8
                        Icon { symbol: navRow.modelData.icon }
                        Label { textFormat: Text.PlainText; text: navRow.modelData.title; color: Theme.text; Layout.fillWidth: true }
                    }
                }
            }
        }
        Rectangle { width: 1; Layout.fillHeight: true; color: Theme.border }
        ScrollView {
            Layout.fillWidth: true
            Layout.fillHeight: true
            contentWidth: availableWidth
            ColumnLayout {
                width: parent.width
                spacing: 16
                Item { height: 12 }
                Label {
                    objectName: "settingsTitle"
                    textFormat: Text.PlainText
                    Layout.leftMargin: 28
                    text: win.entry ? win.entry.title : ""
                    font.pixelSize: 20; font.weight: Font.DemiBold; color: Theme.text
                }
                Loader {
                    objectName: "settingsPage"
                    Layout.fillWidth: true
                    Layout.leftMargin: 28
                    Layout.rightMargin: 28
                    sourceComponent: win.current === "appearance" ? appearancePage
                                   : win.current === "updates" ? updatesPage
                                   : win.current === "identity" ? identityPage
                                   : win.current === "guardrails" && Screens.guardrails ? guardrailsPage
                                   : win.current === "apps" && Screens.apps ? appsPage
                                   : (win.current === "audit" || win.current === "recordings") && Screens.employeeLogs ? logsPage
                                   : win.current === "billing" && Screens.billing ? billingPage : laterPage
                }
            }
        }
    }

    Component {
        id: laterPage
        Label { textFormat: Text.PlainText; objectName: "laterText"; text: SettingsSections.laterText; color: Theme.secondaryText; wrapMode: Text.WordWrap }
    }
    Component { id: appearancePage; AppearanceSettings {} }
    Component { id: updatesPage; UpdateSettings {} }
    Component { id: identityPage; IdentitySettingsPage { identity: Screens.identity } }
    Component { id: guardrailsPage; GuardrailsPage { guardrails: Screens.guardrails } }
    Component { id: appsPage; AppsPage { apps: Screens.apps } }
    Component { id: logsPage; EmployeeLogPage { logs: Screens.employeeLogs; section: win.current } }
    Component { id: billingPage; BillingPage { billing: Screens.billing } }
}

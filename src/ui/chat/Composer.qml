import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Teams
import Halvex.Chat
import Halvex.Workers

// Multi-line input: Enter sends, Shift+Enter breaks the line; files by button, drop or paste.
Rectangle {
    id: composer
    objectName: "composer"
    required property ChatSession session
    readonly property ChatViewModel chat: session ? session.chat : null
    property var stagedNames: []
    function refreshStaged() { stagedNames = session ? session.stagedNames() : [] }
    function focusInput() { input.forceActiveFocus() }
    Connections { target: composer.chat; function onChanged() { composer.refreshStaged() } }
    onChatChanged: refreshStaged()

    implicitHeight: column.implicitHeight + 20
    radius: 12
    color: Theme.raised
    border.color: input.activeFocus ? Theme.focusRing : Theme.border
    border.width: input.activeFocus ? 2 : 1

    DropArea {
        anchors.fill: parent
        // Nothing is taken while an upload runs or the five places are full.
        enabled: composer.chat !== null && composer.chat.canAttach
        onDropped: (drop) => { if (drop.hasUrls) composer.session.addFiles(drop.urls) }
    }
    Loader {
        id: picker
        objectName: "filePicker"
        function open() {
            if (status === Loader.Ready)
                item.open()
            else
                source = "FilePicker.qml"
        }
        onLoaded: item.open()
    }
    Connections {
        target: picker.item
        function onPicked(files) { composer.session.addFiles(files) }
    }

    ColumnLayout {
        id: column
        anchors { left: parent.left; right: parent.right; top: parent.top; margins: 10 }
        spacing: 6

        Flow {
            Layout.fillWidth: true
            visible: composer.stagedNames.length > 0
            spacing: 6
            Repeater {
                model: composer.stagedNames
                delegate: Rectangle {
                    required property string modelData
                    required property int index
                    radius: 8; color: Theme.surface; border.color: Theme.border
                    height: 26; width: chipRow.implicitWidth + 16
                    RowLayout {
                        id: chipRow
                        anchors.centerIn: parent
                        spacing: 4
                        Icon { symbol: "doc"; size: 14 }
                        Label { textFormat: Text.PlainText; text: modelData; color: Theme.text; font.pixelSize: 12; Layout.maximumWidth: 180; elide: Text.ElideMiddle }
                        ToolButton {
                            implicitWidth: 18; implicitHeight: 18
                            contentItem: Icon { symbol: "xmark"; size: 12; horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter }
                            onClicked: composer.chat.removeStaged(index)
                            Accessible.name: "Remove " + modelData
                        }
                    }
                }
            }
            Label {
                visible: composer.chat && composer.chat.isUploading
                text: "Uploading…"
                color: Theme.secondaryText; font.pixelSize: 12
            }
        }

        RowLayout {
            Layout.fillWidth: true
            spacing: 6
            ToolButton {
                objectName: "attachButton"
                enabled: composer.chat !== null && composer.chat.canAttach
                contentItem: Icon { symbol: "paperclip"; size: 18; horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter }
                onClicked: picker.open()
                Accessible.name: "Attach files"
                ToolTip.visible: hovered; ToolTip.text: "Attach files (up to 5)"
            }
            ToolButton {
                id: launcherButton
                objectName: "launcherButton"
                visible: Screens.workerLauncher !== undefined && Screens.workerLauncher !== null
                contentItem: Icon { symbol: "bolt.fill"; size: 18; horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter }
                onClicked: launcherPopup.togglePopup()
                Accessible.name: "Run a worker"
                ToolTip.visible: hovered; ToolTip.text: "Run a worker here (" + ShortcutCatalog.hint("launcher") + ")"
                Shortcut { sequences: ShortcutCatalog.keys("launcher"); enabled: launcherButton.visible; onActivated: launcherPopup.openPopup() }
                PopupLoader {
                    id: launcherPopup
                    sourceComponent: WorkerLauncherPopup {
                        launcher: Screens.workerLauncher !== undefined ? Screens.workerLauncher : null
                        y: -height - 8
                    }
                }
            }
            // Dictation: the first click records, the second sends the recording to be written out.
            ToolButton {
                id: dictateButton
                objectName: "dictateButton"
                readonly property var dictation: Screens.dictation !== undefined ? Screens.dictation : null
                readonly property bool recording: dictation !== null && dictation.recording
                visible: dictation !== null
                enabled: composer.chat !== null && dictation !== null && (recording || !dictation.busy)
                contentItem: RowLayout {
                    spacing: 4
                    // The icon font's own names: the shared table has no microphone.
                    Icon { text: dictateButton.recording ? "stop" : "mic"; size: 18; color: dictateButton.recording ? Theme.danger : Theme.secondaryText }
                    Label {
                        objectName: "dictationElapsed"
                        textFormat: Text.PlainText
                        visible: dictateButton.recording
                        text: dictateButton.dictation ? dictateButton.dictation.elapsedText : ""
                        color: Theme.danger; font.pixelSize: 12; font.family: Theme.codeFont
                    }
                }
                onClicked: dictation.toggle(composer.chat)
                Accessible.name: recording ? "Stop dictation" : "Dictate"
                ToolTip.visible: hovered; ToolTip.text: (recording ? "Stop and write out (" : "Dictate (") + ShortcutCatalog.hint("dictate") + ")"
                Shortcut { sequences: ShortcutCatalog.keys("dictate"); enabled: dictateButton.visible && dictateButton.enabled; onActivated: dictateButton.dictation.toggle(composer.chat) }
            }
            ScrollView {
                Layout.fillWidth: true
                Layout.maximumHeight: 180
                TextArea {
                    id: input
                    objectName: "composerInput"
                    text: composer.chat ? composer.chat.input : ""
                    placeholderText: "Message"
                    placeholderTextColor: Theme.secondaryText
                    color: Theme.text
                    wrapMode: TextEdit.Wrap
                    selectByMouse: true
                    background: null
                    enabled: composer.chat !== null
                    Accessible.name: "Message"
                    onTextChanged: if (composer.chat && composer.chat.input !== text) composer.chat.input = text
                    Keys.onReturnPressed: (event) => {
                        if (event.modifiers & Qt.ShiftModifier) { event.accepted = false; return }
                        composer.session.send()
                    }
                    // Tab moves on instead of typing a tab: the composer is no keyboard trap.
                    Keys.onTabPressed: input.nextItemInFocusChain(true).forceActiveFocus(Qt.TabFocusReason)
                    Keys.onBacktabPressed: input.nextItemInFocusChain(false).forceActiveFocus(Qt.BacktabFocusReason)
                    Keys.onEnterPressed: (event) => { if (!(event.modifiers & Qt.ShiftModifier)) composer.session.send(); else event.accepted = false }
                    Keys.onPressed: (event) => {
                        // A pasted file list arrives as addresses; text pastes as usual.
                        if (event.matches(StandardKey.Paste) && composer.session.pasteFiles())
                            event.accepted = true
                    }
                }
            }
            ToolButton {
                objectName: "sendButton"
                enabled: composer.chat && !composer.chat.isUploading
                         && (input.text.trim().length > 0 || composer.chat.stagedCount > 0)
                contentItem: Icon { symbol: "paperplane"; size: 18; color: parent.enabled ? Theme.accent : Theme.secondaryText; horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter }
                onClicked: composer.session.send()
                Accessible.name: "Send"
            }
        }
        Label {
            objectName: "dictationStatus"
            textFormat: Text.PlainText
            readonly property var dictation: Screens.dictation !== undefined ? Screens.dictation : null
            readonly property bool failed: dictation !== null && dictation.error.length > 0
            visible: text.length > 0
            text: dictation === null ? "" : failed ? dictation.error : dictation.status
            color: failed ? Theme.danger : Theme.secondaryText
            font.pixelSize: 12
            Layout.fillWidth: true
            elide: Text.ElideRight
        }
    }
}

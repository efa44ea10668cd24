import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import QtWebEngine
import QtWebChannel
import Halvex.Controls
import Halvex.Voice

// A voice call with an employee: a card over the window with the call's state, its running
// time and who is talking, and the page that carries the audio in a web view out of sight.
Rectangle {
    id: sheet
    objectName: "voiceCallView"
    required property VoiceCallSheet call
    color: Qt.rgba(0, 0, 0, 0.35)

    function leave() {
        if (sheet.call.live) sheet.call.hangup()
        else sheet.call.close()
    }

    Keys.onEscapePressed: sheet.leave()
    Component.onCompleted: forceActiveFocus()
    MouseArea { anchors.fill: parent }

    Connections {
        target: sheet.call
        function onPageStart(raw) { page.runJavaScript("window.__start(" + JSON.stringify(raw) + ")") }
        function onPageEnd() { page.runJavaScript("window.__end && window.__end()") }
    }

    VoiceBridge {
        id: bridge
        call: sheet.call
        WebChannel.id: "voice"
    }
    WebChannel {
        id: channel
        registeredObjects: [bridge]
    }

    Rectangle {
        id: card
        objectName: "voiceCallCard"
        anchors.centerIn: parent
        width: Math.min(parent.width - 48, 380)
        height: column.implicitHeight + 56
        radius: 16
        color: Theme.raised
        border.color: Theme.border

        // The call page: no picture of its own, only the conversation's audio.
        WebEngineView {
            id: page
            objectName: "voiceCallPage"
            width: 1; height: 1
            opacity: 0
            activeFocusOnPress: false
            url: sheet.call.pageUrl
            webChannel: channel
            onFeaturePermissionRequested: (securityOrigin, feature) => {
                const microphone = feature === WebEngineView.MediaAudioCapture
                page.grantFeaturePermission(securityOrigin, feature, microphone && sheet.call.allowsMicrophoneFor(securityOrigin))
            }
        }

        ColumnLayout {
            id: column
            anchors { left: parent.left; right: parent.right; top: parent.top; margins: 28 }
            spacing: 14

            Rectangle {
                Layout.alignment: Qt.AlignHCenter
                width: 72; height: 72; radius: 36
                color: sheet.call.phase === "failed" ? Theme.danger : Theme.accent
                opacity: sheet.call.live ? 1 : 0.55
                Icon {
                    anchors.centerIn: parent
                    symbol: "phone.fill"; size: 32; color: Theme.accentText
                }
            }
            Label {
                objectName: "voiceCallTitle"
                Layout.fillWidth: true
                horizontalAlignment: Text.AlignHCenter
                text: "Call with " + sheet.call.agentName
                textFormat: Text.PlainText
                elide: Text.ElideRight
                color: Theme.text; font.pixelSize: 17; font.weight: Font.DemiBold
            }
            Label {
                objectName: "voiceCallElapsed"
                textFormat: Text.PlainText
                Layout.alignment: Qt.AlignHCenter
                visible: sheet.call.phase === "active" || sheet.call.phase === "ended"
                text: sheet.call.elapsedText
                color: Theme.text; font.pixelSize: 28; font.family: Theme.codeFont
            }
            Label {
                objectName: "voiceCallState"
                Layout.fillWidth: true
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.Wrap
                textFormat: Text.PlainText
                text: {
                    switch (sheet.call.phase) {
                    case "connecting": return "Connecting…"
                    case "active": return sheet.call.modeText
                    case "ended": return "Call ended"
                    case "failed": return sheet.call.error
                    }
                    return ""
                }
                color: sheet.call.phase === "failed" ? Theme.danger
                     : sheet.call.phase === "active" && sheet.call.modeText === "Speaking" ? Theme.accent : Theme.secondaryText
                font.pixelSize: 14
            }
            Button {
                id: hangUp
                objectName: "hangUpButton"
                Layout.alignment: Qt.AlignHCenter
                Layout.topMargin: 6
                visible: sheet.call.live
                text: "Hang up"
                Accessible.name: "Hang up"
                onClicked: sheet.call.hangup()
                contentItem: Label {
                    textFormat: Text.PlainText
                    text: hangUp.text; color: "white"; font.weight: Font.DemiBold
                    horizontalAlignment: Text.AlignHCenter; verticalAlignment: Text.AlignVCenter
                }
                background: Rectangle {
                    implicitWidth: 140; implicitHeight: 38; radius: 19
                    color: Theme.danger; opacity: hangUp.down ? 0.85 : 1
                    border.width: hangUp.visualFocus ? 2 : 0; border.color: Theme.text
                }
            }
            PlainButton {
                objectName: "closeCallButton"
                Layout.alignment: Qt.AlignHCenter
                Layout.topMargin: 6
                visible: !sheet.call.live
                text: "Close"
                onClicked: sheet.call.close()
            }
        }
    }
}

import QtQuick
import QtQuick.Controls
import QtQuick.Window
import Halvex.Controls
import Halvex.Session
import Halvex.Sidebar
import Halvex.Chat
import Halvex.Settings
import Halvex

ApplicationWindow {
    id: root
    width: 1280
    height: 820
    minimumWidth: 1080
    minimumHeight: 720
    visible: true
    title: "Halvex"
    color: Theme.window
    palette.window: Theme.window
    palette.windowText: Theme.text
    palette.base: Theme.raised
    palette.text: Theme.text
    palette.button: Theme.surface
    palette.buttonText: Theme.text
    palette.highlight: Theme.accent
    palette.highlightedText: Theme.accentText
    palette.placeholderText: Theme.secondaryText
    palette.link: Theme.accent
    palette.linkVisited: Theme.accent

    property SettingsWindow settingsWindow: null
    function openSettings(section) {
        if (!settingsWindow)
            settingsWindow = settingsComponent.createObject(null)
        settingsWindow.show(section)
        settingsWindow.raise()
        settingsWindow.requestActivate()
    }
    Component { id: settingsComponent; SettingsWindow {} }

    menuBar: MenuBar {
        visible: Qt.platform.os !== "osx"
        background: Rectangle { color: Theme.sidebar }
        Menu {
            title: "Halvex"
            Action { text: "About Halvex"; onTriggered: about.open() }
            Action {
                text: "Check for Updates…"
                onTriggered: { Screens.updater.checkForUpdates(); root.openSettings("updates") }
            }
            MenuSeparator {}
            Action { text: "Settings…"; shortcut: ShortcutCatalog.keys("settings")[0]; onTriggered: root.openSettings() }
            MenuSeparator {}
            Action { text: "Sign Out"; enabled: AppShell.screen === "main"; onTriggered: AppShell.logout() }
            Action { text: "Quit"; shortcut: StandardKey.Quit; onTriggered: Qt.quit() }
        }
    }

    Dialog {
        id: about
        parent: Overlay.overlay
        anchors.centerIn: parent
        modal: true
        title: "Halvex"
        standardButtons: Dialog.Ok
        Label { text: "Hire and run AI employees."; color: Theme.text }
    }

    Loader {
        id: content
        objectName: "rootContent"
        anchors.fill: parent
        sourceComponent: AppShell.screen === "main" ? mainScreen
                       : AppShell.screen === "signIn" ? signInScreen : splashScreen
    }
    Component { id: splashScreen; SplashView {} }
    Component { id: signInScreen; SignInView { form: AppShell.signIn } }
    Component { id: mainScreen; MainView {} }

    onActiveChanged: if (active) AppShell.applicationBecameActive()
    Component.onCompleted: AppShell.start()
}

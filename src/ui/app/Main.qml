import QtQuick
import QtQuick.Controls
import QtQuick.Window
import Halvex.Controls
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

    // Made by address on first use, so the settings module loads only when someone opens it.
    property Window settingsWindow: null
    function openSettings(section) {
        if (!settingsWindow) {
            const component = Qt.createComponent("qrc:/Halvex/Settings/SettingsWindow.qml")
            settingsWindow = component.createObject(null)
            if (!settingsWindow) {
                console.warn(component.errorString())
                return
            }
        }
        settingsWindow.show(section)
        settingsWindow.raise()
        settingsWindow.requestActivate()
    }

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

    // Made when first asked for, like every dialog the window does not show at start.
    SheetLoader {
        id: about
        objectName: "aboutLoader"
        active: false
        address: "qrc:/Halvex/AboutDialog.qml"
        function open() { active = true; item.open() }
    }

    // The splash and the sign-in screen by address too: with a saved session the window goes
    // straight to the main view, and neither screen's types load.
    SheetLoader {
        objectName: "splashContent"
        anchors.fill: parent
        // Only when the session is slow to answer: it usually answers within a few frames, and
        // the splash's types would share the loader thread with the main view's meanwhile.
        active: AppShell.screen === "splash" && splashDue.fired
        asynchronous: true
        address: "qrc:/Halvex/Session/SplashView.qml"
        Timer {
            id: splashDue
            property bool fired: false
            interval: 400
            running: AppShell.screen === "splash"
            onTriggered: fired = true
        }
    }
    SheetLoader {
        objectName: "signInContent"
        anchors.fill: parent
        active: AppShell.screen === "signIn"
        address: "qrc:/Halvex/Session/SignInView.qml"
        initialProperties: ({ form: AppShell.signIn })
    }
    // The main view by address: its types load on the type loader's thread while the splash
    // shows and the session's first requests are out (see mainViewType), not before the splash.
    SheetLoader {
        id: mainContent
        objectName: "mainContent"
        anchors.fill: parent
        active: AppShell.screen === "main"
        address: "qrc:/Halvex/MainView.qml"
        // The keyboard focus leaves the sign-in screen it was on.
        onLoaded: forceActiveFocus()
    }
    property Component mainViewType: null

    onActiveChanged: if (active) AppShell.applicationBecameActive()
    Component.onCompleted: {
        if (!mainContent.active)
            mainViewType = Qt.createComponent(mainContent.address, Component.Asynchronous)
    }
}

import QtQuick

// A screen or sheet loaded by its address while it is active. Naming its type instead would
// load its module, and every module that one imports, with the window that holds it: start-up
// would pay for screens nobody has opened yet.
Loader {
    // "qrc:/Halvex/<Module>/<File>.qml"
    property string address
    // The item's required or initial properties, read when it loads.
    property var initialProperties: ({})

    function load() {
        if (active)
            setSource(address, initialProperties)
    }
    onActiveChanged: load()
    Component.onCompleted: load()
}

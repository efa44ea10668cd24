import QtQuick

// A popup made when it is first opened, then kept. Most popups of a screen are never opened;
// made with the screen, each cost its objects' memory and time in every first frame.
Loader {
    // Whether the popup can be made now, e.g. while the panel it shows exists.
    property bool available: true
    property bool wanted: false
    active: wanted && available

    function openPopup() {
        wanted = true
        if (item)
            item.open()
    }
    function togglePopup() {
        wanted = true
        if (item)
            item.opened ? item.close() : item.open()
    }
}

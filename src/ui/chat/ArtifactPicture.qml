import QtQuick
import Halvex.Controls

// A picture an employee made, loaded through the image cache at the size it is shown (at most
// 240 points wide); a click opens it whole in the document viewer. Nothing when there is none.
Image {
    id: picture
    objectName: "artifactImage"
    property string address
    property string name
    readonly property int side: Math.ceil(240 * Math.max(1, Screen.devicePixelRatio))
    readonly property real scale1x: Math.max(1, Screen.devicePixelRatio)
    visible: address.length > 0
    width: visible && status === Image.Ready ? Math.min(240, implicitWidth / scale1x) : 0
    height: visible && status === Image.Ready ? width * implicitHeight / Math.max(1, implicitWidth) : 0
    fillMode: Image.PreserveAspectFit
    asynchronous: true
    cache: false
    source: visible ? "image://remote/artifact/" + side + "x" + side + "/" + encodeURIComponent(address) : ""
    Accessible.role: Accessible.Graphic
    Accessible.name: name
    TapHandler { onTapped: Links.openDocument(picture.address, picture.name, "image/*") }
}

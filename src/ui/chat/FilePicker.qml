import QtQuick
import QtQuick.Dialogs

// The system's file dialog for attachments. The composer loads this file by its address on the
// first pick, so the dialogs module is not loaded at start-up.
FileDialog {
    signal picked(var files)
    fileMode: FileDialog.OpenFiles
    onAccepted: picked(selectedFiles)
}

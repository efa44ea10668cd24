import QtQuick
import Halvex.Chat
import Halvex.Media

// The document viewer's host over the window. The shell loads it by address when a document
// opens, so the PDF engine's modules load with the first document, not at start-up.
Item {
    id: sheet
    required property DocumentViewer viewer
    required property ChatSession session
    DocumentViewerPopup { viewer: sheet.viewer; session: sheet.session }
}

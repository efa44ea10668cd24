import QtQuick
import Halvex.Chat

// One parsed block of an answer; the kind picks the look, the text comes ready from C++.
// Every text field arrives as rendered rich text (links already checked, colours of the scheme);
// every click goes through Links, which checks the address again. Each look is loaded by its
// address: declared here as components, every block made all eight (about 1 kB each).
Loader {
    id: loader
    required property var block
    required property ChatSession session
    width: parent ? parent.width : 0

    function lookFor(kind) {
        switch (kind) {
        case "heading": return "HeadingBlock"
        case "code": return "CodeBlock"
        case "bullet": case "ordered": return "ListBlock"
        case "quote": return "QuoteBlock"
        case "table": return "TableBlock"
        case "rule": return "RuleBlock"
        case "report": return "ReportBlock"
        default: return "ParagraphBlock"
        }
    }
    // Its lists make a new block for new text; should one be handed another block, it loads again.
    property bool made: false
    function load() {
        if (made)
            setSource("qrc:/Halvex/Chat/" + lookFor(block.kind) + ".qml", { block: loader.block, session: loader.session })
    }
    onBlockChanged: load()
    onSessionChanged: load()
    Component.onCompleted: { made = true; load() }
}

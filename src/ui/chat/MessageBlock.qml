import QtQuick
import Halvex.Chat

// One parsed block of an answer; the kind picks the look, the text comes ready from C++.
// Every text field arrives as rendered rich text (links already checked, colours of the scheme);
// every click goes through Links, which checks the address again. Each look is loaded by its
// address: declared here as components, every block made all eight (about 1 kB each).
Loader {
    required property var block
    required property ChatSession session
    width: parent ? parent.width : 0

    // A look reads its block through `host`, set before its bindings run.
    source: {
        switch (block.kind) {
        case "heading": return "HeadingBlock.qml"
        case "code": return "CodeBlock.qml"
        case "bullet": case "ordered": return "ListBlock.qml"
        case "quote": return "QuoteBlock.qml"
        case "table": return "TableBlock.qml"
        case "rule": return "RuleBlock.qml"
        case "report": return "ReportBlock.qml"
        default: return "ParagraphBlock.qml"
        }
    }
}

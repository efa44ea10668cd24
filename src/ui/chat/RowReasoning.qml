import QtQuick
import Halvex.Chat

// Folded steps as a reasoning card.
// A look of MessageRow, loaded by its address.
ReasoningCard {
    // The row that loaded this look (through its loader).
    readonly property MessageRow row: parent.parent as MessageRow
    reasoning: row.reasoning
}

import QtQuick
import Halvex.Chat

// A card (approval, artifact, alert…) from its presentation.
// A look of MessageRow, loaded by its address.
MessageCard {
    // The row that loaded this look (through its loader).
    readonly property MessageRow row: parent.parent as MessageRow
    card: row.card
    messageId: row.messageId
    approvalBusy: row.approvalBusy
    approvalError: row.approvalError
    session: row.session
}

import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Halvex.Controls
import Halvex.Settings

// Money: the wallet's tokens, the plan's allowance, this period's spend by day, the two web
// store pages and the charge history.
ColumnLayout {
    id: page
    required property BillingSettings billing
    spacing: 12
    Component.onCompleted: billing.load()

    Label { text: "Tokens and plans."; color: Theme.secondaryText }
    Label { visible: page.billing.needsLogin; text: "Sign in from the main window first."; color: Theme.secondaryText }
    Label { visible: text.length > 0; text: page.billing.error; textFormat: Text.PlainText; color: Theme.danger; wrapMode: Text.WordWrap; Layout.fillWidth: true }
    BusyIndicator { visible: page.billing.loading; running: visible; implicitWidth: 22; implicitHeight: 22 }

    RowLayout {
        spacing: 12
        visible: page.billing.available.length > 0
        Repeater {
            model: [
                { title: "Available tokens", value: page.billing.available, note: "" },
                { title: "Balance", value: page.billing.balance, note: "Everything credited to this account" },
                { title: "Held", value: page.billing.held, note: "Reserved by runs already in flight" }
            ]
            delegate: Rectangle {
                required property var modelData
                implicitWidth: 190; implicitHeight: 78
                radius: 10; color: Theme.surface; border.color: Theme.border
                ColumnLayout {
                    anchors { fill: parent; margins: 10 }
                    spacing: 2
                    Label { textFormat: Text.PlainText; text: modelData.title; color: Theme.secondaryText; font.pixelSize: 12 }
                    Label { textFormat: Text.PlainText; objectName: "wallet_" + modelData.title; text: modelData.value; color: Theme.text; font.pixelSize: 18; font.weight: Font.DemiBold }
                    Label { textFormat: Text.PlainText; text: modelData.note; color: Theme.secondaryText; font.pixelSize: 11; visible: text.length > 0; elide: Text.ElideRight; Layout.fillWidth: true }
                }
            }
        }
    }

    Label { text: "Your plan"; color: Theme.text; font.weight: Font.DemiBold; Layout.topMargin: 6 }
    Label {
        text: page.billing.planName + (page.billing.periodEnd.length > 0 ? " · renews " + page.billing.periodEnd : "")
        textFormat: Text.PlainText; color: Theme.text; visible: page.billing.planName.length > 0
    }
    GridLayout {
        columns: 2
        columnSpacing: 16
        visible: page.billing.used.length > 0
        Label { text: "Used this period"; color: Theme.secondaryText }
        Label { textFormat: Text.PlainText; objectName: "planUsed"; text: page.billing.used; color: Theme.text }
        Label { text: "Left this period"; color: Theme.secondaryText }
        Label { textFormat: Text.PlainText; text: page.billing.left; color: Theme.text }
    }
    ColumnLayout {
        visible: page.billing.percentText.length > 0
        spacing: 4
        Rectangle {
            implicitWidth: 380; implicitHeight: 8; radius: 4; color: Theme.hover
            Rectangle {
                width: parent.width * Math.max(0, Math.min(1, page.billing.percent / 100))
                height: parent.height; radius: 4
                color: page.billing.percent >= 90 ? Theme.danger : Theme.accent
            }
        }
        Label { textFormat: Text.PlainText; objectName: "planPercent"; text: page.billing.percentText + "% of the monthly allowance"; color: Theme.secondaryText; font.pixelSize: 12 }
    }

    Label { text: "Spend by day"; color: Theme.text; font.weight: Font.DemiBold; Layout.topMargin: 6 }
    Row {
        objectName: "spendChart"
        spacing: 3
        height: 80
        Repeater {
            model: page.billing.spendByDay
            delegate: Rectangle {
                required property var modelData
                width: 11
                height: Math.max(2, 76 * modelData.ratio)
                anchors.bottom: parent.bottom
                radius: 2
                color: modelData.ratio > 0 ? Theme.accent : Theme.border
                PlainToolTip { visible: tip.hovered; text: modelData.label + ": " + modelData.tokens }
                HoverHandler { id: tip }
                Accessible.role: Accessible.StaticText
                Accessible.name: modelData.label + ": " + modelData.tokens
            }
        }
    }

    Label { text: "Plans are switched in the browser"; color: Theme.secondaryText; Layout.topMargin: 6 }
    RowLayout {
        spacing: 8
        PlainButton { objectName: "changePlan"; text: "Change plan — " + page.billing.planUrl; onClicked: Links.open(page.billing.planUrl) }
        AccentButton { objectName: "topUp"; text: "Top up — " + page.billing.topUpUrl; onClicked: Links.open(page.billing.topUpUrl) }
    }
    PlainButton { text: "Refresh"; onClicked: page.billing.load() }

    Label { text: "Charge history"; color: Theme.text; font.weight: Font.DemiBold; Layout.topMargin: 6 }
    Label { visible: page.billing.transactions.length === 0; text: "No charges yet."; color: Theme.secondaryText }
    Repeater {
        model: page.billing.transactions
        delegate: RowLayout {
            required property var modelData
            objectName: "chargeRow"
            Layout.fillWidth: true
            Label { textFormat: Text.PlainText; text: modelData.when; color: Theme.secondaryText; font.pixelSize: 12; Layout.preferredWidth: 110 }
            Label { text: modelData.title; textFormat: Text.PlainText; color: Theme.text; elide: Text.ElideRight; Layout.fillWidth: true }
            Label { textFormat: Text.PlainText; text: modelData.amount; color: modelData.credit ? Theme.success : Theme.text }
        }
    }
}

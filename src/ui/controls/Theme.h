#pragma once
// The two colour schemes. "hx-theme-mode" holds the choice: "gray" is dark, "system" follows
// the desktop's preference as it changes, anything else is light.
#include <QColor>
#include <QObject>

#include "richtext/inline/InlineStyle.h"
#include <QtQml/qqmlregistration.h>

class QQmlEngine;
class QJSEngine;

namespace halvex {

class Preferences;

class Theme : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(bool dark READ dark NOTIFY changed)
    Q_PROPERTY(QString mode READ mode WRITE setMode NOTIFY changed)
    Q_PROPERTY(QColor window READ window NOTIFY changed)
    Q_PROPERTY(QColor sidebar READ sidebar NOTIFY changed)
    Q_PROPERTY(QColor surface READ surface NOTIFY changed)
    Q_PROPERTY(QColor raised READ raised NOTIFY changed)
    Q_PROPERTY(QColor border READ border NOTIFY changed)
    Q_PROPERTY(QColor text READ text NOTIFY changed)
    Q_PROPERTY(QColor secondaryText READ secondaryText NOTIFY changed)
    Q_PROPERTY(QColor accent READ accent NOTIFY changed)
    Q_PROPERTY(QColor accentText READ accentText NOTIFY changed)
    Q_PROPERTY(QColor selection READ selection NOTIFY changed)
    Q_PROPERTY(QColor hover READ hover NOTIFY changed)
    Q_PROPERTY(QColor focusRing READ focusRing NOTIFY changed)
    Q_PROPERTY(QColor danger READ danger NOTIFY changed)
    Q_PROPERTY(QColor success READ success NOTIFY changed)
    Q_PROPERTY(QColor userBubble READ userBubble NOTIFY changed)
    Q_PROPERTY(QColor codeBackground READ codeBackground NOTIFY changed)
    Q_PROPERTY(QString codeFont READ codeFont CONSTANT)
public:
    explicit Theme(Preferences& preferences, QObject* parent = nullptr);

    static Theme* create(QQmlEngine*, QJSEngine*);
    // The instance QML gets; main() installs it before loading any QML.
    static void setInstance(Theme* theme);
    // The installed instance; none before main() (or a test) installs one.
    static Theme* instance();

    static inline const QString systemMode = QStringLiteral("system");

    bool dark() const;
    QString mode() const;
    void setMode(const QString& mode);
    // The desktop's own preference, which the "system" mode follows; main() keeps it current.
    void setDesktopPrefersDark(bool dark);

    QColor window() const { return pick(0xFFFFFF, 0x1F1F21); }
    QColor sidebar() const { return pick(0xF5F5F4, 0x28282B); }
    QColor surface() const { return pick(0xFAFAF9, 0x2A2A2D); }
    QColor raised() const { return pick(0xFFFFFF, 0x333336); }
    QColor border() const { return pick(0xE4E4E2, 0x3D3D41); }
    QColor text() const { return pick(0x1C1C1E, 0xECECEE); }
    QColor secondaryText() const { return pick(0x6B6B70, 0xA1A1A8); }
    QColor accent() const { return pick(0x3B5BDB, 0x7C93F0); }
    QColor accentText() const { return pick(0xFFFFFF, 0x111216); }
    QColor selection() const { return pick(0xE3E8FB, 0x3A4162); }
    QColor hover() const { return pick(0xEBEBE9, 0x323236); }
    QColor focusRing() const { return pick(0x3B5BDB, 0x9CAEF5); }
    QColor danger() const { return pick(0xC92A2A, 0xFF8787); }
    QColor success() const { return pick(0x2B8A3E, 0x69DB7C); }
    QColor userBubble() const { return pick(0xEEF1FD, 0x353A52); }
    QColor codeBackground() const { return pick(0xF3F3F1, 0x18181A); }
    static QString codeFont() { return QStringLiteral("JetBrains Mono"); }
    // How rendered message text looks in this scheme: link and mention colours, code background.
    InlineStyle inlineStyle() const;

Q_SIGNALS:
    void changed();

private:
    QColor pick(unsigned light, unsigned darkColor) const { return QColor::fromRgb(dark() ? darkColor : light); }
    void schemeChanged();

    Preferences& m_preferences;
    bool m_desktopPrefersDark = false;
};

} // namespace halvex

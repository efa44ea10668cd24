#include "ui/controls/Theme.h"

#include "core/prefs/Preferences.h"

#include <QGuiApplication>
#include <QPalette>
#include <QQmlEngine>

namespace halvex {

namespace {

Theme* g_instance = nullptr;

// Links outside rendered messages (plain labels) take their colour from the application palette.
void applyLinkColour(const QColor& colour)
{
    QPalette palette = QGuiApplication::palette();
    palette.setColor(QPalette::Link, colour);
    palette.setColor(QPalette::LinkVisited, colour);
    QGuiApplication::setPalette(palette);
}

quint32 rgb(const QColor& colour) { return colour.rgb() & 0xFFFFFFu; }

} // namespace

Theme::Theme(Preferences& preferences, QObject* parent) : QObject(parent), m_preferences(preferences)
{
    applyLinkColour(accent());
}

Theme* Theme::instance() { return g_instance; }

InlineStyle Theme::inlineStyle() const
{
    InlineStyle style;
    style.linkColor = rgb(accent());
    style.mentionColor = rgb(accent());
    style.codeBackground = rgb(codeBackground());
    style.codeFont = codeFont();
    return style;
}

Theme* Theme::create(QQmlEngine*, QJSEngine*)
{
    QJSEngine::setObjectOwnership(g_instance, QJSEngine::CppOwnership);
    return g_instance;
}

void Theme::setInstance(Theme* theme) { g_instance = theme; }

bool Theme::dark() const
{
    if (m_preferences.themeMode() == systemMode)
        return m_desktopPrefersDark;
    return m_preferences.prefersDarkScheme();
}
QString Theme::mode() const { return m_preferences.themeMode(); }

void Theme::setMode(const QString& mode)
{
    if (mode == m_preferences.themeMode())
        return;
    m_preferences.setThemeMode(mode);
    schemeChanged();
}

void Theme::setDesktopPrefersDark(bool dark)
{
    if (dark == m_desktopPrefersDark)
        return;
    const bool wasDark = this->dark();
    m_desktopPrefersDark = dark;
    if (this->dark() != wasDark)
        schemeChanged();
}

void Theme::schemeChanged()
{
    applyLinkColour(accent());
    Q_EMIT changed();
}

} // namespace halvex

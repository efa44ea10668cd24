#include "Theme.h"

#include "core/prefs/Preferences.h"

#include <QQmlEngine>

namespace halvex {

namespace {
Theme* g_instance = nullptr;
}

Theme::Theme(Preferences& preferences, QObject* parent) : QObject(parent), m_preferences(preferences) {}

Theme* Theme::create(QQmlEngine*, QJSEngine*)
{
    QJSEngine::setObjectOwnership(g_instance, QJSEngine::CppOwnership);
    return g_instance;
}

void Theme::setInstance(Theme* theme) { g_instance = theme; }

bool Theme::dark() const { return m_preferences.prefersDarkScheme(); }
QString Theme::mode() const { return m_preferences.themeMode(); }

void Theme::setMode(const QString& mode)
{
    if (mode == m_preferences.themeMode())
        return;
    m_preferences.setThemeMode(mode);
    Q_EMIT changed();
}

} // namespace halvex

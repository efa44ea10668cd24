#pragma once
// Every QML module of the interface is linked statically; a program that loads the windows
// includes this once so the engine finds them all.
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(HalvexControlsPlugin)
Q_IMPORT_QML_PLUGIN(HalvexMemoryPlugin)
Q_IMPORT_QML_PLUGIN(HalvexComputerPlugin)
Q_IMPORT_QML_PLUGIN(HalvexVoicePlugin)
Q_IMPORT_QML_PLUGIN(HalvexSessionPlugin)
Q_IMPORT_QML_PLUGIN(HalvexSidebarPlugin)
Q_IMPORT_QML_PLUGIN(HalvexTeamsPlugin)
Q_IMPORT_QML_PLUGIN(HalvexWorkersPlugin)
Q_IMPORT_QML_PLUGIN(HalvexProjectsPlugin)
Q_IMPORT_QML_PLUGIN(HalvexChatPlugin)
Q_IMPORT_QML_PLUGIN(HalvexMediaPlugin)
Q_IMPORT_QML_PLUGIN(HalvexCreatePlugin)
Q_IMPORT_QML_PLUGIN(HalvexMarketplacePlugin)
Q_IMPORT_QML_PLUGIN(HalvexSettingsPlugin)
Q_IMPORT_QML_PLUGIN(HalvexPlugin)

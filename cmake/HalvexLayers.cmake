# The one ranking of our libraries, lowest first. A library may link, and its files may include,
# only libraries ranked below it. Records come first, then services, then view models, so a
# feature's view model may use another feature's service but no service reaches a view model.
# tests/architecture checks the include arrows against this list; halvex_library checks links.
set(HALVEX_LIBRARY_ORDER
  core richtext
  agents_model session_model teams_model chat_model projects_model create_model marketplace_model workers_model governance_model billing_model media_model memory_model computer_model voice_model desktop_model
  agents_service session_service teams_service chat_service projects_service create_service marketplace_service workers_service governance_service billing_service media_service memory_service computer_service voice_service desktop_service
  media_viewmodel memory_viewmodel computer_viewmodel voice_viewmodel create_viewmodel marketplace_viewmodel workers_viewmodel governance_viewmodel billing_viewmodel agents_viewmodel projects_viewmodel chat_viewmodel teams_viewmodel session_viewmodel desktop_viewmodel
  ui_controls ui_memory ui_computer ui_voice ui_session ui_sidebar ui_teams ui_projects ui_workers ui_chat ui_media ui_create ui_marketplace ui_settings ui_app
  cli)

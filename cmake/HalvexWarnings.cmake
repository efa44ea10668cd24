# Warnings and string hygiene for every target of ours.
add_library(halvex_options INTERFACE)
target_compile_options(halvex_options INTERFACE -Wall -Wextra -Wpedantic -Wno-missing-field-initializers)
target_compile_definitions(halvex_options INTERFACE
  QT_NO_CAST_FROM_ASCII
  QT_NO_URL_CAST_FROM_STRING
  QT_NO_CAST_FROM_BYTEARRAY
  QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
  QT_NO_KEYWORDS)
if(HALVEX_WERROR)
  target_compile_options(halvex_options INTERFACE -Werror)
endif()

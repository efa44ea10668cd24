# Warnings for every target of ours, the client's and the local service's alike.
add_library(halvex_warnings INTERFACE)
target_compile_options(halvex_warnings INTERFACE -Wall -Wextra -Wpedantic -Wno-missing-field-initializers)
# In a batched (unity) build every source is an included file, so GCC takes each coroutine frame
# holding a type from an anonymous namespace for a header-defined type leaking it.
if(CMAKE_UNITY_BUILD AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  target_compile_options(halvex_warnings INTERFACE -Wno-subobject-linkage)
endif()
if(HALVEX_WERROR)
  target_compile_options(halvex_warnings INTERFACE -Werror)
endif()

# String hygiene on top, for everything that uses Qt.
add_library(halvex_options INTERFACE)
target_link_libraries(halvex_options INTERFACE halvex_warnings)
target_compile_definitions(halvex_options INTERFACE
  QT_NO_CAST_FROM_ASCII
  QT_NO_URL_CAST_FROM_STRING
  QT_NO_CAST_FROM_BYTEARRAY
  QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
  QT_NO_KEYWORDS)

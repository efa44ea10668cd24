include("${CMAKE_CURRENT_LIST_DIR}/HalvexLayers.cmake")

# halvex_check_links(<name> <deps>...)
# Fails the configure step when `halvex_<name>` would link one of ours ranked at or above it.
function(halvex_check_links name)
  list(FIND HALVEX_LIBRARY_ORDER ${name} rank)
  if(rank EQUAL -1)
    message(FATAL_ERROR "halvex_${name} is not in HALVEX_LIBRARY_ORDER (cmake/HalvexLayers.cmake)")
  endif()
  foreach(dep ${ARGN})
    if(dep MATCHES "^halvex_(options|warnings)$")
      continue()
    endif()
    if(dep MATCHES "^halvex_(.+)$")
      list(FIND HALVEX_LIBRARY_ORDER "${CMAKE_MATCH_1}" depRank)
      if(depRank EQUAL -1 OR NOT depRank LESS rank)
        message(FATAL_ERROR "halvex_${name} links ${dep}, which is not ranked below it (cmake/HalvexLayers.cmake)")
      endif()
    endif()
  endforeach()
endfunction()

# halvex_library(<name> [FOLDER <dir>] [DEPENDS <targets>...])
# One static library from the .cpp/.h files below FOLDER (default: this folder), so adding a file
# needs no edit here. A folder without sources is an error: a library exists once it has code.
# Files below a plugin/ folder are left out: they build a module the library loads at run time.
function(halvex_library name)
  cmake_parse_arguments(ARG "" "FOLDER" "DEPENDS" ${ARGN})
  halvex_check_links(${name} ${ARG_DEPENDS})
  set(dir "${CMAKE_CURRENT_SOURCE_DIR}")
  if(ARG_FOLDER)
    set(dir "${CMAKE_CURRENT_SOURCE_DIR}/${ARG_FOLDER}")
  endif()
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS "${dir}/*.cpp" "${dir}/*.h")
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  list(FILTER sources EXCLUDE REGEX "/plugin/")
  if(NOT sources)
    message(FATAL_ERROR "halvex_${name}: no sources in ${dir}")
  endif()
  add_library(halvex_${name} STATIC ${sources})
  target_include_directories(halvex_${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
  target_link_libraries(halvex_${name} PUBLIC halvex_options ${ARG_DEPENDS})
endfunction()

# halvex_feature(<feature> [MODEL <deps>...] [SERVICE <deps>...] [VIEWMODEL <deps>...])
# A feature's three libraries from its model/, service/ and viewmodel/ folders; each layer links
# the one below it of the same feature, plus what it names.
function(halvex_feature feature)
  cmake_parse_arguments(ARG "" "" "MODEL;SERVICE;VIEWMODEL" ${ARGN})
  set(below "")
  foreach(layer model service viewmodel)
    string(TOUPPER ${layer} key)
    if(EXISTS "${CMAKE_CURRENT_SOURCE_DIR}/${layer}")
      halvex_library(${feature}_${layer} FOLDER ${layer} DEPENDS ${below} ${ARG_${key}})
      set(below halvex_${feature}_${layer})
    elseif(ARG_${key})
      message(FATAL_ERROR "${feature}: ${layer} dependencies given but ${layer}/ does not exist")
    endif()
  endforeach()
endfunction()

# halvex_test(<name> [EXCLUDE <subfolders>...] [DEPENDS <targets>...])
# One GoogleTest executable per test folder; every case is registered with CTest. End-to-end
# cases find the real local service through HALVEX_SERVICE_BIN.
function(halvex_test name)
  cmake_parse_arguments(ARG "" "" "DEPENDS;EXCLUDE" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/*.h")
  foreach(sub ${ARG_EXCLUDE})
    list(FILTER sources EXCLUDE REGEX "^${CMAKE_CURRENT_SOURCE_DIR}/${sub}/")
  endforeach()
  if(NOT sources)
    message(FATAL_ERROR "test_${name}: no sources in ${CMAKE_CURRENT_SOURCE_DIR}")
  endif()
  add_executable(test_${name} ${sources})
  target_link_libraries(test_${name} PRIVATE halvex_test_support ${ARG_DEPENDS})
  add_dependencies(test_${name} halvex-service)
  # One entry only: gtest_discover_tests splits a list here into separate properties.
  # TestMain puts Qt offscreen by itself.
  gtest_discover_tests(test_${name}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "HALVEX_SERVICE_BIN=$<TARGET_FILE:halvex-service>"
    DISCOVERY_TIMEOUT 30)
endfunction()

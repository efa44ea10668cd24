# halvex_module(<name> [EXCLUDE <subfolders>...] [DEPENDS <targets>...])
# One static library per subsystem folder. Sources are the .cpp/.h files below the folder, so
# adding a file needs no edit here. EXCLUDE leaves out subfolders that are modules of their own.
function(halvex_module name)
  cmake_parse_arguments(ARG "" "" "DEPENDS;EXCLUDE" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
    "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/*.h")
  list(FILTER sources EXCLUDE REGEX "/main\\.cpp$")
  foreach(sub ${ARG_EXCLUDE})
    list(FILTER sources EXCLUDE REGEX "^${CMAKE_CURRENT_SOURCE_DIR}/${sub}/")
  endforeach()
  if(sources)
    add_library(halvex_${name} STATIC ${sources})
    target_include_directories(halvex_${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
    target_link_libraries(halvex_${name} PUBLIC halvex_options ${ARG_DEPENDS})
  else()
    # A subsystem that has no code yet still links, so dependants need no special case.
    add_library(halvex_${name} INTERFACE)
    target_include_directories(halvex_${name} INTERFACE "${PROJECT_SOURCE_DIR}/src")
    target_link_libraries(halvex_${name} INTERFACE halvex_options ${ARG_DEPENDS})
  endif()
endfunction()

# halvex_test(<subsystem> [EXCLUDE <subfolders>...] [DEPENDS <targets>...])
# One GoogleTest executable per test folder; every case is registered with CTest.
function(halvex_test subsystem)
  cmake_parse_arguments(ARG "" "" "DEPENDS;EXCLUDE" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp" "${CMAKE_CURRENT_SOURCE_DIR}/*.h")
  foreach(sub ${ARG_EXCLUDE})
    list(FILTER sources EXCLUDE REGEX "^${CMAKE_CURRENT_SOURCE_DIR}/${sub}/")
  endforeach()
  if(NOT sources)
    return()
  endif()
  add_executable(test_${subsystem} ${sources})
  target_link_libraries(test_${subsystem} PRIVATE halvex_test_support ${ARG_DEPENDS})
  # One entry only: gtest_discover_tests splits a list here into separate properties.
  # TestMain puts Qt offscreen by itself.
  set(env "HALVEX_TESTS=1")
  if(TARGET halvex-service)
    get_target_property(service_type halvex-service TYPE)
    if(service_type STREQUAL "EXECUTABLE")
      # End-to-end cases start the real local service from here.
      set(env "HALVEX_SERVICE_BIN=$<TARGET_FILE:halvex-service>")
      add_dependencies(test_${subsystem} halvex-service)
    endif()
  endif()
  gtest_discover_tests(test_${subsystem}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "${env}"
    DISCOVERY_TIMEOUT 30)
endfunction()

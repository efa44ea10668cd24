# Start-up code together in the app's binary. The kernel maps a program's pages in blocks of up to
# 128 kB around each page it touches, so the half a megabyte of our code that a start runs, spread
# over four megabytes of binary, kept nearly all of it resident from the first frame; the same
# went for the data it reads (compiled QML, class descriptions, resource trees). Every function
# and datum gets a section of its own, and the app's link puts first, in the order of
# cmake/startup-order.txt (bench/ui/startup-order.sh writes it from a profiled start), the
# functions a start runs and the data it reads; static initialisers and cold paths get sections
# of their own. Names the list has and the binary lacks are skipped, so a stale list costs
# memory, never a build.
target_compile_options(halvex_options INTERFACE -ffunction-sections -fdata-sections)

function(halvex_startup_layout target)
  if(NOT HALVEX_LLD)
    return()
  endif()
  set(order "${PROJECT_SOURCE_DIR}/cmake/startup-order.txt")
  target_link_options(${target} PRIVATE -Wl,-z,keep-text-section-prefix "-Wl,--symbol-ordering-file=${order}"
    -Wl,--no-warn-symbol-ordering)
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS "${order}")
  # Every symbol the loader binds at start (Qt's libraries bind all of theirs at load) is looked
  # for library by library in the order the program names them: the libraries most symbols come
  # from are named first (2.5 million instructions less before main).
  target_link_options(${target} PRIVATE -Wl,--push-state,--no-as-needed $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui>
    $<TARGET_FILE:Qt6::Qml> $<TARGET_FILE:Qt6::Quick> -lstdc++ -Wl,--pop-state)
endfunction()

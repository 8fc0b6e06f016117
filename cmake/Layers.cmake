# Each folder of src/ is a library of its own that links only to the layers
# below it. Platform-free sources go into every build (the native unit tests
# and fuzzers use them); sources that call Windows only into the Windows one.
#
#   corvello_layer(core PURE a.cpp ... WINDOWS b.cpp ... USES toolkit)
function(corvello_layer name)
  cmake_parse_arguments(LAYER "" "" "PURE;WINDOWS;USES" ${ARGN})
  set(sources ${LAYER_PURE})
  if(WIN32)
    list(APPEND sources ${LAYER_WINDOWS})
  endif()
  if(NOT sources)
    return()
  endif()
  set(target corvello_${name})
  add_library(${target} STATIC ${sources})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  foreach(used IN LISTS LAYER_USES)
    if(TARGET corvello_${used})
      target_link_libraries(${target} PUBLIC corvello_${used})
    endif()
  endforeach()
  corvello_warnings(${target})
  target_compile_options(${target} PRIVATE ${CORVELLO_WHOLE_PROGRAM})
  # No section of its own for each function (-ffunction-sections): the MinGW
  # assembler pads every section to 16 bytes, and the linker finds none of
  # ours to drop.
  if(MSVC)
    set_property(TARGET ${target} PROPERTY MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
  endif()
endfunction()

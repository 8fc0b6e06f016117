# Fails when a source file includes a header from a layer above its own or
# beside it. The layers, bottom up:
#   toolkit <- core <- actions, online, ui (side by side) <- app
# Within app, each feature has a folder of its own (app/timer, app/lockkeys,
# ...) and includes nothing of another feature's folder nor of the files at
# app's top (the main window, the application object): features meet only
# through the action runner and the Options window's page interface. The
# files at the top may include every feature.
# cmake -DSOURCE_DIR=.../src -P CheckLayers.cmake
set(allowed_toolkit toolkit)
set(allowed_core toolkit core)
set(allowed_actions toolkit core actions)
set(allowed_online toolkit core online)
set(allowed_ui toolkit core ui)
set(allowed_app toolkit core actions online ui app)

set(feature_meeting_points app/running/ActionRunner.h app/options/OptionsPage.h)

set(violations "")
file(GLOB_RECURSE files RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
foreach(file IN LISTS files)
  string(REGEX MATCH "^[^/]+" layer "${file}")
  if(NOT DEFINED allowed_${layer})
    string(APPEND violations "\n  ${file}: not in a known layer")
    continue()
  endif()
  file(STRINGS "${SOURCE_DIR}/${file}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" header "${line}")
    if(NOT header MATCHES "/")
      string(APPEND violations "\n  ${file}: includes \"${header}\" without its layer")
      continue()
    endif()
    string(REGEX MATCH "^[^/]+" target "${header}")
    list(FIND allowed_${layer} "${target}" at)
    if(at EQUAL -1)
      string(APPEND violations "\n  ${file} (${layer}) includes ${header} (${target})")
    elseif(file MATCHES "^app/[^/]+/" AND header MATCHES "^app/")
      string(REGEX REPLACE "^app/([^/]+)/.*" "\\1" feature "${file}")
      list(FIND feature_meeting_points "${header}" meeting)
      if(NOT header MATCHES "^app/${feature}/" AND meeting EQUAL -1)
        string(APPEND violations "\n  ${file} (app/${feature}) includes ${header}: features meet through the runner")
      endif()
    endif()
  endforeach()
endforeach()
list(LENGTH files count)
if(violations)
  message(FATAL_ERROR "includes that run up or sideways between layers:${violations}")
endif()
message(STATUS "${count} files: every include runs downward")

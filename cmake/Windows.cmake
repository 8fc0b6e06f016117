# The Windows program and the library of everything in it that calls Windows.
set(CORVELLO_WIN_DEFINITIONS UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
    _WIN32_WINNT=0x0A00 WINVER=0x0A00)

add_library(corvello_win STATIC
  src/toolkit/Application.cpp
  src/toolkit/Controls.cpp
  src/toolkit/Form.cpp
  src/toolkit/Graphics.cpp
  src/toolkit/Menus.cpp
  src/toolkit/MessageDialog.cpp
  src/toolkit/Registry.cpp
  src/toolkit/Timer.cpp
  src/toolkit/TrayIcon.cpp
  src/toolkit/Window.cpp
  src/core/AppUtils.cpp
  src/core/SharedClasses.cpp
  src/core/AppClasses.cpp
  src/core/unitApp.cpp
  src/actions/WindowsPowerRequests.cpp
  src/ui/unitApi.cpp
  src/ui/AppForms.cpp
  src/ui/FormPlacement.cpp
  src/ui/MessageDlg.cpp
  ${CORVELLO_ONLINE_WIN_SOURCES}
)
target_compile_definitions(corvello_win PUBLIC ${CORVELLO_WIN_DEFINITIONS})
# Only DLLs that every Windows loads from its known-DLL list are imported;
# the rest are loaded at run time from the system directory.
target_link_libraries(corvello_win PUBLIC corvello_logic user32 gdi32 comctl32 shell32 advapi32 kernel32)
corvello_warnings(corvello_win)

add_executable(corvello WIN32 src/core/unitMain.cpp res/corvello.rc)
target_link_libraries(corvello PRIVATE corvello_win)
target_include_directories(corvello PRIVATE src res)
set_source_files_properties(res/corvello.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/res/corvello.manifest;${CMAKE_CURRENT_SOURCE_DIR}/res/corvello.ico;${CMAKE_CURRENT_SOURCE_DIR}/src/core/Product.h;${CMAKE_CURRENT_SOURCE_DIR}/res/online.rc;${CMAKE_CURRENT_SOURCE_DIR}/src/online/LinkStrings.h")
corvello_warnings(corvello)

if(MSVC)
  set_property(TARGET corvello corvello_win corvello_logic PROPERTY
               MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
  # The manifest comes from the resource script.
  target_link_options(corvello PRIVATE /MANIFEST:NO /DYNAMICBASE /NXCOMPAT /HIGHENTROPYVA)
else()
  target_compile_options(corvello_win PRIVATE -ffunction-sections -fdata-sections)
  target_compile_options(corvello_logic PRIVATE -ffunction-sections -fdata-sections)
  target_link_options(corvello PRIVATE -municode -static -static-libgcc -static-libstdc++ -Wl,--gc-sections
                      -Wl,--dynamicbase,--nxcompat,--high-entropy-va
                      $<$<CONFIG:Release,MinSizeRel>:-s>)
endif()

# Test programs run under Wine, where no MinGW runtime DLLs are installed.
function(corvello_windows_test_exe target)
  if(NOT MSVC)
    target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
  endif()
endfunction()

if(CORVELLO_TESTS AND NOT MSVC)
  add_test(NAME exe.HeadersAndImports
           COMMAND ${CMAKE_COMMAND} -DEXE=$<TARGET_FILE:corvello> -DOBJDUMP=${CMAKE_OBJDUMP} -P ${CMAKE_CURRENT_SOURCE_DIR}/cmake/CheckExe.cmake)
  set_tests_properties(exe.HeadersAndImports PROPERTIES LABELS win)
endif()

# Sources of the online features. Paths relative to the project's root.
# Platform-free (no windows.h): compiled into corvello_logic.
set(CORVELLO_ONLINE_LOGIC_SOURCES
)
# Calling Windows: compiled into corvello_win.
set(CORVELLO_ONLINE_WIN_SOURCES
  src/online/AppOnline.cpp
)

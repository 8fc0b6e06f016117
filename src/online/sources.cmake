# Sources of the online features. Paths relative to the project's root.
# Platform-free (no windows.h): compiled into corvello_logic.
set(CORVELLO_ONLINE_LOGIC_SOURCES
  src/online/LinkRules.cpp
  src/online/Notification.cpp
  src/online/PingRules.cpp
)
# Calling Windows: compiled into corvello_win.
set(CORVELLO_ONLINE_WIN_SOURCES
  src/online/AppOnline.cpp
  src/online/Links.cpp
  src/online/Ole.cpp
  src/online/Tickover.cpp
  src/online/WebBrowser.cpp
)

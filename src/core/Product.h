/* The product's name, maker and version: the one place both the program and
   its resource script take them from. Only preprocessor definitions here, so
   the resource compiler can read it too. */
#pragma once

#define CORVELLO_VERSION_MAJOR 1
#define CORVELLO_VERSION_MINOR 2
#define CORVELLO_VERSION_RELEASE 0
#define CORVELLO_VERSION_BUILD 21
#define CORVELLO_VERSION_TEXT "1.2.0.21"

#define CORVELLO_NAME "Corvello"
#define CORVELLO_MAKER "QUORVANT"
#define CORVELLO_COPYRIGHT "Copyright (C) 2012-2026 QUORVANT"
#define CORVELLO_EXE_NAME "corvello.exe"

#define CORVELLO_WIDEN2(s) L##s
#define CORVELLO_WIDEN(s) CORVELLO_WIDEN2(s)

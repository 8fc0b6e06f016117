#!/bin/sh
# Links the program against the C++ runtime built for Windows' own threads,
# not the posix-thread one the compilers of this build use: the program runs
# one thread, and the posix-thread layer would add its size and imports that
# Windows XP does not have. Called by CMake with the whole link command.
cmd=$1
shift
exec "$(echo "$cmd" | sed 's/-posix$/-win32/')" "$@"

// corvello_child [exit code] [milliseconds to sleep first]
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    const int code = argc > 1 ? std::atoi(argv[1]) : 0;
    const int sleep = argc > 2 ? std::atoi(argv[2]) : 0;
    if (sleep > 0)
        ::Sleep(static_cast<DWORD>(sleep));
    return code;
}

// Loads each DLL named on its command line by its bare name, as a program that trusts the search order does.
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
    for (int i = 1; i < argc; ++i) ::LoadLibraryW(argv[i]);
    return 0;
}

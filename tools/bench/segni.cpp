// The bench's marks: the step's name and the performance counter in ms, which under Wine counts from the same
// moment as the timestamps of its debug channels and the bench's own counter.
#include "win/segni.h"

#include <windows.h>

#include <cstdio>

namespace quilmora {

void Segno(const char* passo) {
    LARGE_INTEGER t, f;
    ::QueryPerformanceCounter(&t);
    ::QueryPerformanceFrequency(&f);
    char riga[80];
    std::snprintf(riga, sizeof riga, "segno %s %.3f", passo,
                  static_cast<double>(t.QuadPart) * 1e3 / static_cast<double>(f.QuadPart));
    ::OutputDebugStringA(riga);
}

}  // namespace quilmora

namespace {

// The first of the program's static constructors: the C run-time has started.
[[gnu::constructor(101)]] void AvvioRuntime() {
    quilmora::Segno("crt");
}

}  // namespace

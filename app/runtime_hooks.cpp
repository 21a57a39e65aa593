// Replacements for a few C++ runtime hooks, linked into the program and the installer's actions only
// (the tests keep the library's).
// The program catches nothing: wherever the library would throw, it ends, as it would with the
// library's own hooks. Those drag in the exception machinery, a symbol demangler and printf, more than
// half of the executable; these end the program the same way without them.
#include <bits/functexcept.h>

#include <cstdlib>
#include <exception>
#include <new>

namespace __gnu_cxx {

// The library's version prints the exception's demangled type to stderr, which a windowed program has not.
void __verbose_terminate_handler() {
    std::abort();
}

}  // namespace __gnu_cxx

// Called by the standard containers and strings instead of a throw expression.
namespace std {

void __throw_bad_alloc() {
    std::abort();
}
void __throw_bad_array_new_length() {
    std::abort();
}
void __throw_length_error(const char*) {
    std::abort();
}
void __throw_logic_error(const char*) {
    std::abort();
}
void __throw_out_of_range_fmt(const char*, ...) {
    std::abort();
}

}  // namespace std

// No new-handler is ever installed, so running out of memory ends the program, without a bad_alloc.
void* operator new(std::size_t size) {
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    std::abort();
}

void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

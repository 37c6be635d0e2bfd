// The C++ library raises its own errors through these functions. Its
// versions live in one object file together with every other standard
// exception, which drags in a second, copy-on-write string implementation
// and std::random_device: a third of the exe. Defining the ones we use keeps
// all that out. Each still raises an error the window host reports.

#include "readout/errors.h"

#include <new>

#if defined(__GLIBCXX__) // libstdc++'s own hooks; other libraries have none

namespace std {

void __throw_bad_alloc() {
    throw bad_alloc();
}
void __throw_bad_array_new_length() {
    throw bad_array_new_length();
}
void __throw_length_error(const char* /*what*/) {
    throw taliven::Error("Text too long");
}
void __throw_logic_error(const char* /*what*/) {
    throw taliven::Error("Invalid text");
}
void __throw_out_of_range_fmt(const char* /*format*/, ...) {
    throw taliven::Error("Index out of range");
}

} // namespace std

#endif

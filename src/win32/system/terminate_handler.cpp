#include <cstdlib>
#include <exception>  // declares the handler: a changed signature fails here

// The C++ runtime's default handler for an exception nobody catches writes the exception's type
// to the standard error, demangled, before it aborts: a windowed program has no standard error,
// and the demangler alone is 46 KB of the executable. Defining the handler here keeps the
// runtime's from being linked; the program still ends as it would, with abort().
namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
}  // namespace __gnu_cxx

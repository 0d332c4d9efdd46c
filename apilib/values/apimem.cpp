// API allocators: everything handed to clients comes from the plain system
// allocator so that clients may release it with the matching free. No size
// limit and no fatal mode: failure is a null result that the caller reports.
// The four stay together in this one unit, apart from their users, so that a
// program may define all of them itself and the linker never takes this one.
#include <cstdlib>

#include <tarnel/tnapi_values.h>

extern "C" {

void *TapiMalloc(size_t size) { return std::malloc(size); }

void *TapiCalloc(size_t count, size_t size) { return std::calloc(count, size); }

// realloc(ptr, 0) may free ptr and return null, which a caller would take
// for a failure that left ptr alive; asking for one byte keeps null meaning
// exhaustion only.
void *TapiRealloc(void *ptr, size_t size) {
    if (ptr == nullptr) return std::malloc(size);
    return std::realloc(ptr, size != 0 ? size : 1);
}

void T_ApiFree(void *ptr) {
    if (ptr != nullptr) std::free(ptr);
}

}  // extern "C"

// Copies its argument into a small buffer whose size the compiler knows but whose
// length only the run knows: with _FORTIFY_SOURCE the copy becomes a checked __memcpy_chk.
// Built unhardened, it also starts another program, which check-elf must refuse too.
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    char buffer[16] = {};
    std::memcpy(buffer, argv[1], std::strlen(argv[1]));
    std::puts(buffer);
#ifdef TOLVANE_UNHARDENED
    return std::system(buffer);
#else
    return 0;
#endif
}

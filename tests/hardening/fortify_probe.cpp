// Copies its argument into a small buffer whose size the compiler knows but whose
// length only the run knows: with _FORTIFY_SOURCE the copy is checked, and a long
// argument ends the program with glibc's "buffer overflow detected".
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    char buffer[16] = {};
    std::memcpy(buffer, argv[1], std::strlen(argv[1]));
    std::puts(buffer[sizeof buffer - 1] == '\0' ? "copied" : "overflowed");
    return 0;
}

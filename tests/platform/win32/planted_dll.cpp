// Where a planted DLL would sit: beside the test program.
extern "C" __declspec(dllexport) int TolvanePlanted() {
    return 42;
}

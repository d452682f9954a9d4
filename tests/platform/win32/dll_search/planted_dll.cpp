// A DLL the tests put beside the test program, where a planted one would sit.
extern "C" __declspec(dllexport) int TolvanePlanted() {
    return 42;
}

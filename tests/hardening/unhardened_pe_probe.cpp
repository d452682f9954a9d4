// Built twice: as a DLL no Windows has, and as a program that imports it and a function
// Windows 7 may lack and starts another program, linked without address-space randomisation
// or DEP and without Tolvane's start-up, resources or manifest. check-pe must refuse the
// program on every count.
#ifdef TOLVANE_FOREIGN_DLL
extern "C" __declspec(dllexport) int ForeignAnswer() {
    return 0;
}
#else
#include <windows.h>

#include <cstdlib>

extern "C" __declspec(dllimport) int ForeignAnswer();
int main() {
    return ForeignAnswer() + std::system("x") + SetDefaultDllDirectories(0);
}
#endif

#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/dll_search.h"

namespace {

constexpr const wchar_t* kPlanted = L"tolvane_planted.dll";  // built beside this program

// One test, in order: the restriction is for the whole process and cannot be undone.
TEST(DllSearchTest, APlantedDllBesideTheProgramIsRefusedOnceRestricted) {
    // Without the restriction the program's folder is searched first: the planted DLL
    // would be picked up.
    HMODULE before = LoadLibraryW(kPlanted);
    ASSERT_NE(before, nullptr) << "the planted DLL is not beside the test program";
    ASSERT_TRUE(FreeLibrary(before));
    ASSERT_EQ(GetModuleHandleW(kPlanted), nullptr) << "still loaded: the next load proves nothing";

    ASSERT_TRUE(tolvane::win32::RestrictDllSearchToSystem32());

    SetLastError(0);
    EXPECT_EQ(LoadLibraryW(kPlanted), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));

    // Still there and loadable when the program's folder is named on purpose.
    HMODULE asked = LoadLibraryExW(kPlanted, nullptr, LOAD_LIBRARY_SEARCH_APPLICATION_DIR);
    ASSERT_NE(asked, nullptr);
    EXPECT_NE(GetProcAddress(asked, "TolvanePlanted"), nullptr);
    FreeLibrary(asked);

    // Windows' own DLLs are found as before.
    HMODULE own = LoadLibraryW(L"version.dll");
    EXPECT_NE(own, nullptr);
    if (own) FreeLibrary(own);
}

}  // namespace

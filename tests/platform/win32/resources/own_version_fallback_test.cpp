// A program without a version resource still knows the version it was built as.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/win32/own_version.h"
#include "version.h"

namespace tolvane::win32 {
namespace {

TEST(OwnVersion, FallsBackToTheBuiltNumbersWithoutAVersionResource) {
    std::wstring path(32768, L'\0');
    path.resize(::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    DWORD ignored = 0;
    ASSERT_EQ(::GetFileVersionInfoSizeW(path.c_str(), &ignored), 0u)
        << "this program was meant to carry no version resource";

    const AppVersion read = ReadOwnVersion();
    EXPECT_EQ(read.major, version::kMajor);
    EXPECT_EQ(read.minor, version::kMinor);
    EXPECT_EQ(read.revision, version::kRevision);
}

}  // namespace
}  // namespace tolvane::win32

// This program links the same resource object as Tolvane.exe, so it carries the same
// version resource, icon and manifest, and reads them back from itself.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/own_version.h"
#include "platform/win32/utf8.h"
#include "resource_ids.h"
#include "version.h"

namespace tolvane::win32 {
namespace {

std::wstring OwnPath() {
    std::wstring path(32768, L'\0');
    path.resize(::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return path;
}

std::vector<unsigned char> OwnVersionBlock() {
    const std::wstring path = OwnPath();
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
    std::vector<unsigned char> block(size);
    if (size == 0 || !::GetFileVersionInfoW(path.c_str(), 0, size, block.data())) block.clear();
    return block;
}

std::string VersionString(std::vector<unsigned char>& block, const std::string& name) {
    struct Translation {
        WORD language, codePage;
    };
    void* value = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &length) ||
        length < sizeof(Translation)) {
        return "<no translation>";
    }
    const auto* translation = static_cast<const Translation*>(value);
    wchar_t query[64];
    std::swprintf(query, 64, L"\\StringFileInfo\\%04x%04x\\%ls", translation->language,
                  translation->codePage, Widen(name).c_str());
    if (!::VerQueryValueW(block.data(), query, &value, &length) || length == 0) {
        return "<missing>";
    }
    return Narrow(static_cast<const wchar_t*>(value));  // length counts the terminating zero
}

// The text the program shows for its version: 1.00.0020.
std::string DottedVersion() {
    char text[32];
    std::snprintf(text, sizeof text, "%u.%02u.%04u", version::kMajor, version::kMinor,
                  version::kRevision);
    return text;
}

std::pair<const unsigned char*, DWORD> OwnResource(LPCWSTR type, WORD id) {
    const HMODULE self = ::GetModuleHandleW(nullptr);
    const HRSRC found = ::FindResourceW(self, MAKEINTRESOURCEW(id), type);
    if (found == nullptr) return {nullptr, 0};
    const HGLOBAL loaded = ::LoadResource(self, found);  // resources need no freeing
    return {static_cast<const unsigned char*>(::LockResource(loaded)),
            ::SizeofResource(self, found)};
}

TEST(OwnVersion, ComesFromTheVersionResource) {
    std::vector<unsigned char> block = OwnVersionBlock();
    ASSERT_FALSE(block.empty()) << "this program carries no version resource";
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(block.data(), L"\\", &value, &length));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(version::kMinor, version::kMajor));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(version::kRevision, 0));
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);

    const AppVersion read = ReadOwnVersion();
    EXPECT_EQ(read.major, 1);
    EXPECT_EQ(read.minor, 0);
    EXPECT_EQ(read.revision, 20);
}

TEST(OwnVersion, StringsNameTheProgramAndItsVersion) {
    std::vector<unsigned char> block = OwnVersionBlock();
    ASSERT_FALSE(block.empty());
    ASSERT_EQ(DottedVersion(), "1.00.0020");
    const std::pair<std::string, std::string> expected[] = {
        {"FileVersion", DottedVersion()},
        {"ProductVersion", DottedVersion()},
        {"ProductName", "Tolvane"},
        {"FileDescription", "Tolvane"},
        {"CompanyName", "the Tolvane authors"},
        {"LegalCopyright", "the Tolvane authors"},
        {"OriginalFilename", "Tolvane.exe"},
    };
    for (const auto& [name, value] : expected) {
        EXPECT_EQ(VersionString(block, name), value) << name;
    }
}

TEST(Icon, LoadsAtTheSizesWindowsAsksFor) {
    for (const int size : {16, 24, 32, 48, 256}) {
        const auto icon = static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr),
                                                          MAKEINTRESOURCEW(IDI_TOLVANE), IMAGE_ICON,
                                                          size, size, LR_DEFAULTCOLOR));
        ASSERT_NE(icon, nullptr) << size << " px";
        ICONINFO info{};
        ASSERT_TRUE(::GetIconInfo(icon, &info)) << size << " px";
        BITMAP colour{};
        ::GetObjectW(info.hbmColor, sizeof colour, &colour);
        EXPECT_EQ(colour.bmWidth, size);
        EXPECT_EQ(colour.bmHeight, size);
        ::DeleteObject(info.hbmColor);
        ::DeleteObject(info.hbmMask);
        ::DestroyIcon(icon);
    }
}

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
struct GroupIconHeader {
    WORD reserved, type, count;
};
#pragma pack(pop)

TEST(Icon, HoldsEachSizeAndA24BitImageWithMaskAt32) {
    const auto [group, groupSize] = OwnResource(RT_GROUP_ICON, IDI_TOLVANE);
    ASSERT_NE(group, nullptr);
    GroupIconHeader header{};
    ASSERT_GE(groupSize, sizeof header);
    std::memcpy(&header, group, sizeof header);
    ASSERT_EQ(header.type, 1);
    ASSERT_EQ(groupSize, sizeof header + header.count * sizeof(GroupIconEntry));

    std::set<std::pair<int, int>> images;  // (side, bits per pixel)
    WORD masked32 = 0;
    for (WORD i = 0; i < header.count; ++i) {
        GroupIconEntry entry{};
        std::memcpy(&entry, group + sizeof header + i * sizeof entry, sizeof entry);
        const int side = entry.width == 0 ? 256 : entry.width;
        images.emplace(side, entry.bitCount);
        if (side == 32 && entry.bitCount == 24) masked32 = entry.id;
    }
    const std::set<std::pair<int, int>> expected = {
        {16, 32}, {24, 32}, {32, 24}, {48, 32}, {256, 32}};
    EXPECT_EQ(images, expected);

    // The image itself: a bitmap of twice the height (colour, then the 1-bit mask).
    ASSERT_NE(masked32, 0);
    const auto [image, imageSize] = OwnResource(RT_ICON, masked32);
    ASSERT_NE(image, nullptr);
    BITMAPINFOHEADER bitmap{};
    ASSERT_GE(imageSize, sizeof bitmap);
    std::memcpy(&bitmap, image, sizeof bitmap);
    EXPECT_EQ(bitmap.biWidth, 32);
    EXPECT_EQ(bitmap.biHeight, 64);
    EXPECT_EQ(bitmap.biBitCount, 24);
    const DWORD colourBytes = 32 * 32 * 3, maskBytes = 32 * 4;  // rows padded to 4 bytes
    EXPECT_EQ(imageSize, sizeof bitmap + colourBytes + maskBytes);
}

TEST(Manifest, AsksForCommonControls6AndNamesTheSupportedSystems) {
    const auto [data, size] = OwnResource(RT_MANIFEST, 1);  // CREATEPROCESS_MANIFEST_RESOURCE_ID
    ASSERT_NE(data, nullptr);
    const std::string manifest(reinterpret_cast<const char*>(data), size);
    const char* const expected[] = {
        R"(name="Microsoft.Windows.Common-Controls" version="6.0.0.0")",
        R"(processorArchitecture="*")",
        "{e2011457-1546-43c5-a5fe-008deee3d3f0}",  // Vista
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // 7
        "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // 8
        "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // 8.1
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // 10 and 11
        ">PerMonitorV2, PerMonitor</dpiAwareness>",
        ">true/pm</dpiAware>",
        R"(<requestedExecutionLevel level="asInvoker" uiAccess="false"/>)",
    };
    for (const char* text : expected) {
        EXPECT_NE(manifest.find(text), std::string::npos) << text;
    }
}

}  // namespace
}  // namespace tolvane::win32

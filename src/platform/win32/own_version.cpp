#include "platform/win32/own_version.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "version.h"

namespace tolvane::win32 {
namespace {

std::wstring OwnModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);  // truncated: a long path, try a bigger buffer
    }
}

std::optional<VS_FIXEDFILEINFO> FixedFileInfo(const std::wstring& module) {
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(module.c_str(), &ignored);
    if (size == 0) return std::nullopt;
    std::vector<unsigned char> block(size);
    if (!::GetFileVersionInfoW(module.c_str(), 0, size, block.data())) return std::nullopt;
    void* value = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(block.data(), L"\\", &value, &length) ||
        length < sizeof(VS_FIXEDFILEINFO)) {
        return std::nullopt;
    }
    const auto* info = static_cast<const VS_FIXEDFILEINFO*>(value);
    if (info->dwSignature != VS_FFI_SIGNATURE) return std::nullopt;
    return *info;
}

}  // namespace

AppVersion ReadOwnVersion() {
    const std::wstring module = OwnModulePath();
    if (const auto info = module.empty() ? std::nullopt : FixedFileInfo(module)) {
        return {HIWORD(info->dwFileVersionMS), LOWORD(info->dwFileVersionMS),
                LOWORD(info->dwFileVersionLS)};
    }
    return {static_cast<std::uint16_t>(version::kMajor),
            static_cast<std::uint16_t>(version::kMinor),
            static_cast<std::uint16_t>(version::kRevision)};
}

}  // namespace tolvane::win32

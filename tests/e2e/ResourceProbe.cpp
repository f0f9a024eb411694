// Reads a program's icon and version information the way the system's shell does, for the tests
// of a built setup: ExtractIconEx and GetFileVersionInfo / VerQueryValue.
// Usage: qs_resource_probe PROGRAM ICON_FILE [OTHER_ICON_FILE]
// Prints the version texts and numbers, then whether the program's icon, as ExtractIconEx gives
// it and as its first icon group loads at 16, 32, 48 and 256 pixels, draws the same pixels as the
// icon file (and, when given, other pixels than OTHER_ICON_FILE). Exit code 0 when every icon
// comparison holds.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// The pixels of `icon` drawn at `size` over a fixed background.
std::vector<DWORD> Pixels(HICON icon, int size) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    std::vector<DWORD> pixels;
    if (dc && bitmap && icon) {
        HGDIOBJ old = SelectObject(dc, bitmap);
        std::fill_n(static_cast<DWORD*>(bits), size * size, 0x00FF00FFu);
        DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
        GdiFlush();
        pixels.assign(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + size * size);
        SelectObject(dc, old);
    }
    if (bitmap) DeleteObject(bitmap);
    if (dc) DeleteDC(dc);
    return pixels;
}

// The icon of `module` (the first icon group when `module` is a program), or of the icon file
// `path` when `module` is null, loaded at `size` and drawn.
std::vector<DWORD> LoadedPixels(HMODULE module, const char* path, int size) {
    HICON icon = static_cast<HICON>(
        LoadImageA(module, path, IMAGE_ICON, size, size, module ? 0 : LR_LOADFROMFILE));
    std::vector<DWORD> pixels = Pixels(icon, size);
    if (icon) DestroyIcon(icon);
    return pixels;
}

BOOL CALLBACK FirstName(HMODULE, LPCSTR, LPSTR name, LONG_PTR found) {
    *reinterpret_cast<std::string*>(found) = IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name)) : name;
    return FALSE;
}

void PrintVersion(const char* program) {
    DWORD ignored = 0, size = GetFileVersionInfoSizeA(program, &ignored);
    std::vector<char> data(size);
    if (size == 0 || !GetFileVersionInfoA(program, 0, size, data.data())) {
        std::printf("no version information\n");
        return;
    }
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    // Each part is a WORD: printed as the unsigned number it is.
    const auto part = [](DWORD pair, bool high) { return static_cast<unsigned>(high ? HIWORD(pair) : LOWORD(pair)); };
    if (VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length) && fixed)
        std::printf("FileVersion=%u.%u.%u.%u\nProductVersionNumbers=%u.%u.%u.%u\n", part(fixed->dwFileVersionMS, true),
                    part(fixed->dwFileVersionMS, false), part(fixed->dwFileVersionLS, true),
                    part(fixed->dwFileVersionLS, false), part(fixed->dwProductVersionMS, true),
                    part(fixed->dwProductVersionMS, false), part(fixed->dwProductVersionLS, true),
                    part(fixed->dwProductVersionLS, false));
    WORD* translation = nullptr;
    if (!VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length) ||
        length < 4)
        return;
    char table[32];
    std::snprintf(table, sizeof table, "%04X%04X", translation[0], translation[1]);
    for (const char* key : {"ProductName", "ProductVersion", "CompanyName", "FileDescription", "LegalCopyright"}) {
        char* text = nullptr;
        const std::string query = std::string("\\StringFileInfo\\") + table + "\\" + key;
        if (VerQueryValueA(data.data(), query.c_str(), reinterpret_cast<void**>(&text), &length) && text)
            std::printf("%s=%s\n", key, text);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: qs_resource_probe PROGRAM ICON_FILE [OTHER_ICON_FILE]\n");
        return 2;
    }
    PrintVersion(argv[1]);
    int failures = 0;
    auto compare = [&](const char* what, int size, const std::vector<DWORD>& program) {
        const bool same = !program.empty() && program == LoadedPixels(nullptr, argv[2], size);
        std::printf("%s (%dx%d): %s the icon file\n", what, size, size, same ? "same as" : "differs from");
        failures += !same;
        if (argc > 3 && program == LoadedPixels(nullptr, argv[3], size)) {
            std::printf("%s (%dx%d): same as the other icon file\n", what, size, size);
            ++failures;
        }
    };
    HICON large = nullptr;
    const int largeSize = GetSystemMetrics(SM_CXICON);
    if (ExtractIconExA(argv[1], 0, &large, nullptr, 1) == 0 || !large) {
        std::printf("no icon\n");
        return 1;
    }
    compare("ExtractIconEx", largeSize, Pixels(large, largeSize));
    DestroyIcon(large);
    HMODULE module = LoadLibraryExA(argv[1], nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    std::string group;
    if (!module || (EnumResourceNamesA(module, RT_GROUP_ICON, FirstName, reinterpret_cast<LONG_PTR>(&group)), group.empty())) {
        std::printf("no icon group\n");
        return 1;
    }
    for (int size : {16, 32, 48, 256}) compare("first icon group", size, LoadedPixels(module, group.c_str(), size));
    FreeLibrary(module);
    return failures == 0 ? 0 : 1;
}

#include "platform/CodePage.h"

#include <windows.h>

namespace platform {

static unsigned chosenCodePage = 0;

static unsigned SystemAnsiCodePage() {
    char number[8] = {};
    if (GetLocaleInfoA(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, number, sizeof number) > 0) {
        unsigned codePage = static_cast<unsigned>(strtoul(number, nullptr, 10));
        if (codePage != 0 && codePage != CP_UTF8 && IsKnownCodePage(codePage)) return codePage;
    }
    return 1252;
}

unsigned LegacyCodePage() { return chosenCodePage != 0 ? chosenCodePage : SystemAnsiCodePage(); }

void SetLegacyCodePage(unsigned codePage) { chosenCodePage = codePage; }

bool IsKnownCodePage(unsigned codePage) { return IsValidCodePage(codePage) != 0; }

static bool ToWide(const std::string& bytes, unsigned codePage, DWORD flags, std::wstring& wide) {
    wide.clear();
    if (bytes.empty()) return true;
    int count = MultiByteToWideChar(codePage, flags, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    if (count <= 0) return false;
    wide.resize(static_cast<size_t>(count));
    return MultiByteToWideChar(codePage, flags, bytes.data(), static_cast<int>(bytes.size()), &wide[0], count) ==
           count;
}

static bool FromWide(const std::wstring& wide, unsigned codePage, std::string& bytes) {
    bytes.clear();
    if (wide.empty()) return true;
    BOOL lossy = FALSE;
    // UTF-8 takes neither flag nor a default-character question.
    const bool utf8 = codePage == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    int count = WideCharToMultiByte(codePage, flags, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                    nullptr, utf8 ? nullptr : &lossy);
    if (count <= 0 || lossy) return false;
    bytes.resize(static_cast<size_t>(count));
    return WideCharToMultiByte(codePage, flags, wide.data(), static_cast<int>(wide.size()), &bytes[0], count,
                               nullptr, nullptr) == count;
}

bool CodePageToUtf8(const std::string& bytes, unsigned codePage, std::string& text) {
    std::wstring wide;
    return IsKnownCodePage(codePage) && ToWide(bytes, codePage, 0, wide) && FromWide(wide, CP_UTF8, text);
}

bool Utf8ToCodePage(const std::string& text, unsigned codePage, std::string& bytes) {
    std::wstring wide;
    if (!IsKnownCodePage(codePage) || !ToWide(text, CP_UTF8, MB_ERR_INVALID_CHARS, wide)) return false;
    std::string back;
    // WC_NO_BEST_FIT_CHARS still lets a few characters pass as others; only a round trip proves it.
    return FromWide(wide, codePage, bytes) && ToWide(bytes, codePage, 0, wide) && FromWide(wide, CP_UTF8, back) &&
           back == text;
}

}  // namespace platform

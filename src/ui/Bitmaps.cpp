#include "ui/Bitmaps.h"

#include <algorithm>
#include <vector>

#include "core/Text.h"

namespace {

// A 32-bit DIB section of `width` by `height` pixels holding `pixels` (rows as stored, bottom-up
// for a positive height), each pixel changed by `change`.
template <class Change>
HBITMAP MakeTrueColourBitmap(int width, int height, const RGBQUAD* pixels, Change change) {
    BITMAPINFO info{};
    info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), width, height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) return nullptr;
    auto* out = static_cast<RGBQUAD*>(bits);
    for (int i = 0; i < width * std::abs(height); ++i) out[i] = change(pixels[i]);
    GdiFlush();
    return bitmap;
}

// A disabled button's image: grey, lighter, half as opaque.
RGBQUAD Greyed(RGBQUAD pixel) {
    const int grey = (pixel.rgbRed * 30 + pixel.rgbGreen * 59 + pixel.rgbBlue * 11) / 100;
    const auto light = static_cast<BYTE>(grey + (255 - grey) / 3);
    return RGBQUAD{light, light, light, static_cast<BYTE>(pixel.rgbReserved / 2)};
}

HIMAGELIST ImageListOf(HBITMAP strip, int size, int count) {
    HIMAGELIST images = strip ? ImageList_Create(size, size, ILC_COLOR32, count, 0) : nullptr;
    if (images && ImageList_Add(images, strip, nullptr) < 0) {
        ImageList_Destroy(images);
        images = nullptr;
    }
    if (strip) DeleteObject(strip);
    return images;
}

}  // namespace

void LoadToolbarImages(HINSTANCE module, int bitmapId, int size, HIMAGELIST& images, HIMAGELIST& disabled) {
    images = disabled = nullptr;
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(bitmapId), MAKEINTRESOURCEA(2));
    HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    auto* stored = loaded ? static_cast<const BITMAPINFOHEADER*>(LockResource(loaded)) : nullptr;
    if (!stored || stored->biBitCount != 32 || stored->biCompression != BI_RGB || size <= 0 ||
        std::abs(stored->biHeight) != size || stored->biWidth % size != 0)
        return;
    const auto* pixels = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(stored) + stored->biSize);
    const int count = stored->biWidth / size;
    images = ImageListOf(MakeTrueColourBitmap(stored->biWidth, stored->biHeight, pixels, [](RGBQUAD p) { return p; }),
                         size, count);
    disabled = ImageListOf(MakeTrueColourBitmap(stored->biWidth, stored->biHeight, pixels, Greyed), size, count);
}

int SystemColourFor(COLORREF stored) {
    switch (stored) {
    case RGB(0, 0, 0): return COLOR_BTNTEXT;
    case RGB(128, 128, 128): return COLOR_BTNSHADOW;
    case RGB(192, 192, 192): return COLOR_BTNFACE;
    case RGB(255, 255, 255): return COLOR_BTNHIGHLIGHT;
    default: return -1;
    }
}

HBITMAP LoadSystemColouredBitmap(HINSTANCE module, int bitmapId, bool disabled) {
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(bitmapId), MAKEINTRESOURCEA(2));
    HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    auto* stored = loaded ? static_cast<const BITMAPINFO*>(LockResource(loaded)) : nullptr;
    if (!stored) return nullptr;
    const BITMAPINFOHEADER& header = stored->bmiHeader;
    if (header.biBitCount > 8) return nullptr;
    const int colours = header.biClrUsed ? static_cast<int>(header.biClrUsed) : 1 << header.biBitCount;

    // A copy of the header and colour table with the button colours put in.
    std::vector<unsigned char> copy(header.biSize + colours * sizeof(RGBQUAD));
    std::copy_n(reinterpret_cast<const unsigned char*>(stored), copy.size(), copy.begin());
    auto* table = reinterpret_cast<RGBQUAD*>(copy.data() + header.biSize);
    for (int i = 0; i < std::min(colours, 16); ++i) {
        int system = SystemColourFor(RGB(table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue));
        if (system < 0) continue;
        COLORREF colour = disabled && system != COLOR_BTNTEXT ? RGB(255, 255, 255) : GetSysColor(system);
        table[i] = RGBQUAD{GetBValue(colour), GetGValue(colour), GetRValue(colour), 0};
    }
    const void* bits = reinterpret_cast<const unsigned char*>(stored) + copy.size();
    const int width = header.biWidth, height = std::abs(header.biHeight);

    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HDC memory = CreateCompatibleDC(screen);
    if (bitmap && memory) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        StretchDIBits(memory, 0, 0, width, height, 0, 0, width, height, bits,
                      reinterpret_cast<const BITMAPINFO*>(copy.data()), DIB_RGB_COLORS, SRCCOPY);
        SelectObject(memory, old);
    }
    if (memory) DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

BannerPainter::~BannerPainter() {
    if (bitmap_) DeleteObject(bitmap_);
}

int BannerBlue(int offset, int range) {
    return 255 - static_cast<int>(255LL * offset * offset / (static_cast<long long>(range) * range));
}

static void FillBand(HDC context, int left, int top, int right, int bottom, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    RECT rect{left, top, right, bottom};
    FillRect(context, &rect, brush);
    DeleteObject(brush);
}

static HFONT MakeFont(const WindowDpi& dpi, const char* face, int points, int weight, bool italic) {
    return CreateFontA(-MulDiv(points, static_cast<int>(dpi.Value()), 72), 0, 0, 0, weight,
                       italic, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       PROOF_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

// Each text in black, then in white `offset` pixels up and left of it: a raised look on the
// gradient. Drawn from UTF-16: GDI's narrow calls read bytes in the font's code page, not as UTF-8.
static void DrawRaised(HDC context, int x, int y, int offset, const std::string& text) {
    const std::u16string wide = Utf16FromUtf8(text);
    const auto* letters = reinterpret_cast<const wchar_t*>(wide.c_str());
    const int length = static_cast<int>(wide.size());
    SetTextColor(context, RGB(0, 0, 0));
    TextOutW(context, x + offset, y + offset, letters, length);
    SetTextColor(context, RGB(255, 255, 255));
    TextOutW(context, x, y, letters, length);
}

void BannerPainter::DrawTexts(HDC context) const {
    int oldMode = SetBkMode(context, TRANSPARENT);
    COLORREF oldColour = GetTextColor(context);
    HFONT title = MakeFont(dpi_, "Times New Roman", 24, FW_BOLD, true);
    HFONT notice = MakeFont(dpi_, "Arial", 10, FW_NORMAL, false);
    HGDIOBJ oldFont = SelectObject(context, title);
    const int offset = dpi_.Scale(3);
    DrawRaised(context, dpi_.Scale(20), dpi_.Scale(10), offset, title_);
    SelectObject(context, notice);
    DrawRaised(context, dpi_.Scale(20), height_ - dpi_.Scale(20), offset, notice_);
    SelectObject(context, oldFont);
    SetTextColor(context, oldColour);
    SetBkMode(context, oldMode);
    DeleteObject(title);
    DeleteObject(notice);
}

void BannerPainter::Render(HDC context) {
    HBITMAP bitmap = CreateCompatibleBitmap(context, std::max(width_, 1), std::max(height_, 1));
    HDC memory = CreateCompatibleDC(context);
    if (!bitmap || !memory) {
        if (bitmap) DeleteObject(bitmap);
        if (memory) DeleteDC(memory);
        return;
    }
    HGDIOBJ old = SelectObject(memory, bitmap);
    const int range = height_ * 5 / 6;
    const int top = height_ - range;
    FillBand(memory, 0, 0, width_, top, RGB(0, 0, 255));
    const int band = std::max(1, range / 256);
    for (int f = 0; f < range; f += band)
        FillBand(memory, 0, top + f, width_, top + f + band, RGB(0, 0, BannerBlue(f, range)));
    DrawTexts(memory);
    SelectObject(memory, old);
    DeleteDC(memory);
    if (bitmap_) DeleteObject(bitmap_);
    bitmap_ = bitmap;
}

void BannerPainter::Draw(HDC context) const {
    if (!bitmap_) return;
    HDC memory = CreateCompatibleDC(context);
    HGDIOBJ old = SelectObject(memory, bitmap_);
    BITMAP size{};
    GetObjectA(bitmap_, sizeof size, &size);
    BitBlt(context, 0, 0, size.bmWidth, size.bmHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
}

#pragma once
// Bitmaps drawn for the screen: resource bitmaps in the current system colours, and the banner
// that the editor host shows while no project is open.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "platform/win32/WindowDpi.h"

// Loads a 16-colour bitmap resource with its greys, black and white replaced by the current
// button colours (with `disabled`, every matched colour but black becomes white); none on failure.
HBITMAP LoadSystemColouredBitmap(HINSTANCE module, int bitmapId, bool disabled);

// Loads a strip of square true-colour images of `size` pixels with transparency (the bitmap
// resource `bitmapId`) into an image list, and into a second one greyed and faint, for disabled
// buttons; both none on failure. The caller destroys them.
void LoadToolbarImages(HINSTANCE module, int bitmapId, int size, HIMAGELIST& images, HIMAGELIST& disabled);

// The system colour that stands in for a stored colour of a toolbar-style bitmap, or -1 when the
// colour is kept.
int SystemColourFor(COLORREF stored);

class BannerPainter {
public:
    BannerPainter(std::string title, std::string notice)
        : title_(std::move(title)), notice_(std::move(notice)) {}
    ~BannerPainter();
    BannerPainter(const BannerPainter&) = delete;
    BannerPainter& operator=(const BannerPainter&) = delete;

    void SetNotice(std::string notice) { notice_ = std::move(notice); }
    // The DPI the banner's fonts and offsets are scaled to.
    void SetDpi(const WindowDpi& dpi) { dpi_ = dpi; }
    void Resize(int width, int height) {
        width_ = width;
        height_ = height;
    }
    // Paints a new banner of the current size for `context`, replacing the previous one.
    void Render(HDC context);
    void Draw(HDC context) const;

private:
    void DrawTexts(HDC context) const;

    std::string title_;
    std::string notice_;
    WindowDpi dpi_;
    int width_ = 0;
    int height_ = 0;
    HBITMAP bitmap_ = nullptr;
};

// The blue of the banner's band at `offset` pixels below its top, in a band `range` pixels deep.
int BannerBlue(int offset, int range);

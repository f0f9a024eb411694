#pragma once
// A child window that shows a larger content area (a hosted form) and scrolls it with its own
// scroll bars.
#include "ui/Dialog.h"
#include "ui/Window.h"

class ScrollView : public ChildWindow {
public:
    // Always adds both scroll-bar styles to `style`.
    bool Create(DWORD exStyle, const char* className, DWORD style, int x, int y, int width,
                int height, HWND parent, int id, HINSTANCE instance);

    void OnSize(int width, int height) override;
    void OnVScroll(int code, int thumb) override;
    void OnHScroll(int code, int thumb) override;

    // Takes the content size and starts again at the origin; the bars follow at the next OnSize.
    void SetContentSize(int width, int height);
    // Creates the modeless form of template `templateId` into `slot` and scrolls over its size.
    HWND CreateForm(HINSTANCE instance, int templateId, ModelessDialogSlot& slot, DialogCreator& creator);

    POINT Position() const { return POINT{xPosition_, yPosition_}; }
    SIZE Range() const { return SIZE{xRange_, yRange_}; }

private:
    // One axis of the view, so the two bars share their arithmetic.
    struct Axis {
        int bar;
        int& client;
        int& content;
        int& position;
        int& range;
    };
    Axis Horizontal() { return Axis{SB_HORZ, clientWidth_, contentWidth_, xPosition_, xRange_}; }
    Axis Vertical() { return Axis{SB_VERT, clientHeight_, contentHeight_, yPosition_, yRange_}; }

    void UpdateBar(Axis axis);
    void Scroll(Axis axis, int code, int thumb);
    void ScrollContent(int dx, int dy);

    // Set while OnSize updates the bars: the bars' own size messages must not move the content.
    bool inLayout_ = false;
    int clientWidth_ = 0, clientHeight_ = 0;
    int contentWidth_ = 0, contentHeight_ = 0;
    int xPosition_ = 0, yPosition_ = 0;
    int xRange_ = 0, yRange_ = 0;
};

// How far one scroll request moves a view whose visible extent is `client` pixels.
int ScrollStep(int code, int client);

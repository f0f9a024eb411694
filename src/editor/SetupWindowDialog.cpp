#include "editor/SetupWindowDialog.h"

#include <commdlg.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "editor/EditorContext.h"
#include "editor/FormBinder.h"
#include "lang/LanguageSets.h"
#include "lang/TextKeys.h"
#include "resource.h"

namespace {

constexpr const TextKeySet& kTexts = TextKeys::kSetupWindowsSettingsDialog;
constexpr int kLineFirstIds[3] = {IDC_HEADING_FIRST, IDC_SUBHEADING_FIRST, IDC_FOOTER_FIRST};
constexpr int kLineLabelKeys[3] = {7, 8, 9};
// The swatch's size at 96 DPI.
constexpr int kSwatchWidth = 40, kSwatchHeight = 18;

bool SameFont(const ScreenFont& a, const ScreenFont& b) { return a.Text() == b.Text(); }

bool SameLine(const ScreenText& a, const ScreenText& b) {
    return a.text == b.text && SameFont(a.font, b.font) && a.colour == b.colour && a.alignment == b.alignment &&
           a.threeD == b.threeD;
}

// A bitmap filled with one colour, for the swatch beside a colour button.
HBITMAP SolidBitmap(COLORREF colour, const WindowDpi& dpi) {
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    const RECT rect{0, 0, dpi.Scale(kSwatchWidth), dpi.Scale(kSwatchHeight)};
    HBITMAP bitmap = CreateCompatibleBitmap(screen, rect.right, rect.bottom);
    HGDIOBJ old = SelectObject(memory, bitmap);
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(memory, &rect, brush);
    DeleteObject(brush);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

}  // namespace

bool SetupWindowDiffers(const ScreenSettings& a, const ScreenSettings& b) {
    return a.windowTitle != b.windowTitle || a.gradientFill != b.gradientFill || a.colourFrom != b.colourFrom ||
           a.colourTo != b.colourTo || !SameLine(a.heading, b.heading) || !SameLine(a.subheading, b.subheading) ||
           !SameLine(a.footer, b.footer);
}

SetupWindowDialog::SetupWindowDialog(HWND, void* context)
    : Dialog(context), edit_(*static_cast<SetupWindowEdit*>(context)), original_(edit_.settings) {}

SetupWindowDialog::~SetupWindowDialog() {
    for (HBITMAP swatch : swatches_)
        if (swatch) DeleteObject(swatch);
}

ScreenText& SetupWindowDialog::Line(int line) {
    ScreenText* lines[3] = {&Settings().heading, &Settings().subheading, &Settings().footer};
    return *lines[line];
}

bool SetupWindowDialog::OnInitDialog(HWND dialog) {
    const LanguageSets& texts = edit_.context.Texts();
    auto text = [&](int number) { return texts.UiText(kTexts.Key(number)); };
    SetWindowTextA(dialog, text(0).c_str());
    const std::pair<int, int> controls[] = {
        {IDC_SETTINGS_GROUP_BACKGROUND, 1}, {IDC_GRADIENT_FILL, 2}, {IDC_SOLID_FILL, 3},
        {IDC_COLOUR_FROM, 4},              {IDC_COLOUR_TO, 5},     {IDC_SETTINGS_LABEL_TITLE, 6},
        {IDC_SETTINGS_LABEL_ALIGNMENT, 10}, {IDC_SETTINGS_GROUP_TEXTS, 16}, {IDC_OK, 17}, {IDCANCEL, 18}};
    for (const auto& [id, key] : controls) SetDlgItemTextA(dialog, id, text(key).c_str());
    const ScreenSettings& settings = Settings();
    CheckRadioButton(dialog, IDC_GRADIENT_FILL, IDC_SOLID_FILL, settings.gradientFill ? IDC_GRADIENT_FILL : IDC_SOLID_FILL);
    EnableControl(dialog, IDC_COLOUR_TO, settings.gradientFill);
    SetDlgItemTextA(dialog, IDC_WINDOW_TITLE, settings.windowTitle.c_str());
    ShowSwatch(dialog, IDC_COLOUR_FROM_SWATCH, settings.colourFrom);
    ShowSwatch(dialog, IDC_COLOUR_TO_SWATCH, settings.colourTo);
    for (int line = 0; line < 3; ++line) {
        const int first = kLineFirstIds[line];
        const ScreenText& shown = Line(line);
        SetDlgItemTextA(dialog, first + IDC_LINE_LABEL, text(kLineLabelKeys[line]).c_str());
        SetDlgItemTextA(dialog, first + IDC_LINE_TEXT, shown.text.c_str());
        SetDlgItemTextA(dialog, first + IDC_LINE_3D, text(11).c_str());
        SetDlgItemTextA(dialog, first + IDC_LINE_FONT, text(12).c_str());
        for (size_t alignment = 0; alignment < TextKeys::kAlignmentNames.Count(); ++alignment)
            SendDlgItemMessageA(dialog, first + IDC_LINE_ALIGNMENT, CB_ADDSTRING, 0,
                                reinterpret_cast<LPARAM>(texts.UiText(TextKeys::kAlignmentNames[alignment]).c_str()));
        SendDlgItemMessageA(dialog, first + IDC_LINE_ALIGNMENT, CB_SETCURSEL,
                            static_cast<WPARAM>(std::clamp(shown.alignment, 0, 2)), 0);
        CheckDlgButton(dialog, first + IDC_LINE_3D, shown.threeD ? BST_CHECKED : BST_UNCHECKED);
    }
    CentreOnDesktop(dialog);
    return true;
}

void SetupWindowDialog::ShowSwatch(HWND dialog, int swatchId, COLORREF colour) {
    HBITMAP& swatch = swatches_[swatchId == IDC_COLOUR_FROM_SWATCH ? 0 : 1];
    HBITMAP fresh = SolidBitmap(colour, WindowDpi::Of(dialog));
    SendDlgItemMessageA(dialog, swatchId, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(fresh));
    if (swatch) DeleteObject(swatch);
    swatch = fresh;
}

void SetupWindowDialog::PickColour(HWND dialog, std::uint32_t& colour, int swatchId) {
    static COLORREF custom[16] = {};
    CHOOSECOLORA choice{};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = dialog;
    choice.rgbResult = colour;
    choice.lpCustColors = custom;
    choice.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorA(&choice)) return;
    colour = choice.rgbResult;
    ShowSwatch(dialog, swatchId, colour);
}

void SetupWindowDialog::PickFont(HWND dialog, ScreenText& line) {
    LOGFONTA font{};
    font.lfHeight = line.font.height;
    font.lfWeight = line.font.weight;
    font.lfItalic = static_cast<BYTE>(line.font.italic != 0);
    font.lfUnderline = static_cast<BYTE>(line.font.underline != 0);
    font.lfStrikeOut = static_cast<BYTE>(line.font.strikeOut != 0);
    font.lfCharSet = ScreenFont::kCharSet;
    font.lfQuality = ScreenFont::kQuality;
    strncpy(font.lfFaceName, line.font.face.c_str(), LF_FACESIZE - 1);
    CHOOSEFONTA choice{};
    choice.lStructSize = sizeof choice;
    choice.hwndOwner = dialog;
    choice.lpLogFont = &font;
    choice.rgbColors = line.colour;
    choice.Flags = CF_INITTOLOGFONTSTRUCT | CF_EFFECTS | CF_SCREENFONTS;
    if (!ChooseFontA(&choice)) return;
    line.font.face = std::string(font.lfFaceName).substr(0, ScreenFont::kMaxFaceLength);
    line.font.height = font.lfHeight;
    line.font.weight = font.lfWeight;
    line.font.italic = font.lfItalic ? 1 : 0;
    line.font.underline = font.lfUnderline ? 1 : 0;
    line.font.strikeOut = font.lfStrikeOut ? 1 : 0;
    line.colour = choice.rgbColors;
}

void SetupWindowDialog::Accept(HWND dialog) {
    ScreenSettings& settings = Settings();
    settings.windowTitle = ControlText(dialog, IDC_WINDOW_TITLE);
    settings.gradientFill = IsChecked(dialog, IDC_GRADIENT_FILL);
    for (int line = 0; line < 3; ++line) {
        const int first = kLineFirstIds[line];
        ScreenText& edited = Line(line);
        edited.text = ControlText(dialog, first + IDC_LINE_TEXT);
        edited.alignment = static_cast<std::int32_t>(
            std::max<LRESULT>(0, SendDlgItemMessageA(dialog, first + IDC_LINE_ALIGNMENT, CB_GETCURSEL, 0, 0)));
        edited.threeD = IsChecked(dialog, first + IDC_LINE_3D);
    }
    EndDialog(dialog, SetupWindowDiffers(settings, original_) ? IDC_OK : IDCANCEL);
}

bool SetupWindowDialog::OnCommand(HWND dialog, int id, int code, HWND) {
    if (code != BN_CLICKED) return false;
    switch (id) {
    case IDC_GRADIENT_FILL:
    case IDC_SOLID_FILL:
        EnableControl(dialog, IDC_COLOUR_TO, IsChecked(dialog, IDC_GRADIENT_FILL));
        return true;
    case IDC_COLOUR_FROM: PickColour(dialog, Settings().colourFrom, IDC_COLOUR_FROM_SWATCH); return true;
    case IDC_COLOUR_TO: PickColour(dialog, Settings().colourTo, IDC_COLOUR_TO_SWATCH); return true;
    case IDC_HEADING_FIRST + IDC_LINE_FONT: PickFont(dialog, Line(0)); return true;
    case IDC_SUBHEADING_FIRST + IDC_LINE_FONT: PickFont(dialog, Line(1)); return true;
    case IDC_FOOTER_FIRST + IDC_LINE_FONT: PickFont(dialog, Line(2)); return true;
    case IDC_OK: Accept(dialog); return true;
    case IDCANCEL: EndDialog(dialog, IDCANCEL); return true;
    default: return false;
    }
}

bool RunSetupWindowDialog(HWND owner, SetupWindowEdit& edit) {
    DialogCreatorOf<SetupWindowDialog> creator(&edit);
    const HINSTANCE instance = edit.context.ResourceInstance();
    return ShowModalDialog(instance, IDD_SETUP_WINDOW_SETTINGS, owner, creator) == IDC_OK;
}

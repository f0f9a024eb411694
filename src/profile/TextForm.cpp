#include "profile/TextForm.h"

#include "core/Text.h"
#include "platform/CodePage.h"

DecodedText DecodeText(std::string bytes) {
    DecodedText decoded;
    if (StartsWith(bytes, kUtf8Mark)) {
        bytes.erase(0, sizeof kUtf8Mark - 1);
        decoded.text = std::move(bytes);
    } else if (IsAscii(bytes) || !platform::CodePageToUtf8(bytes, platform::LegacyCodePage(), decoded.text)) {
        // An unknown code page leaves the bytes as they are: nothing of the file is lost.
        decoded.text = std::move(bytes);
    } else {
        decoded.form = TextForm::CodePage;
    }
    return decoded;
}

std::string EncodeText(const std::string& text, TextForm& form) {
    if (IsAscii(text)) return text;
    std::string bytes;
    if (form == TextForm::CodePage && platform::Utf8ToCodePage(text, platform::LegacyCodePage(), bytes))
        return bytes;
    form = TextForm::Utf8;
    return kUtf8Mark + text;
}

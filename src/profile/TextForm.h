#pragma once
// How a text file of the system (a project, setup.ini, a language file, the install log) holds
// its characters, decided in one place for every reader and writer.
//
// Inside the programs every text is UTF-8. On disk a file is in one of two forms:
// - Utf8: UTF-8 after a byte-order mark. A file of ASCII bytes only is the same in both forms
//   and is written without the mark, so such files stay as they always were.
// - CodePage: bytes of the legacy code page (platform::LegacyCodePage), as every file was
//   written before the programs held UTF-8.
#include <string>

enum class TextForm { Utf8, CodePage };

// The UTF-8 byte-order mark.
constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";

struct DecodedText {
    std::string text;  // UTF-8, without the mark
    TextForm form = TextForm::Utf8;  // CodePage only for a file that held code-page bytes
};

// The file's bytes, taken over: UTF-8 and ASCII texts move on without a copy.
DecodedText DecodeText(std::string bytes);

// The bytes that hold `text` in `form`: ASCII text as it is; in the Utf8 form the mark and the
// text; in the CodePage form the code page's bytes. When the code page has no form for some
// character, the text is written in the Utf8 form and `form` becomes Utf8.
std::string EncodeText(const std::string& text, TextForm& form);

// The bytes of a file that the installer programs read: setup.ini and the install log.
inline std::string EncodeUtf8(const std::string& text) {
    TextForm form = TextForm::Utf8;
    return EncodeText(text, form);
}

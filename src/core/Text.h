#pragma once
// Helpers on texts: byte strings holding UTF-8.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Equality without regard to ASCII letter case, as the system compares paths and names.
bool EqualNoCase(std::string_view a, std::string_view b);
// The text with ASCII capitals made small, for keys compared without regard to case.
std::string LowerCase(std::string_view text);

// Whether `text` begins with `prefix`, compared byte for byte (case-sensitive).
inline bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

// Yes/no values read as yes when their first character is "1", "Y" or "y".
inline bool ReadYesNo(std::string_view value) {
    return !value.empty() && (value[0] == '1' || value[0] == 'Y' || value[0] == 'y');
}
inline const char* YesNoText(bool value) { return value ? "Yes" : "No"; }

// The leading decimal number: blanks skipped, an optional sign, digits up to the first other
// character; no digits give 0. Values beyond 32 bits are held at the nearest limit.
std::int32_t ReadLeadingInt(const std::string& text);
// The leading hexadecimal number, "0x" or "0X" allowed in front; no digits give 0.
// Values beyond 32 bits are held at 0xFFFFFFFF; a "-" in front negates modulo 2^32.
std::uint32_t ReadLeadingHex(const std::string& text);
// Colours are written "0x%08X".
std::string ColourText(std::uint32_t colour);

// The text with every line end as CR LF, as edit and static controls and the system's files want
// them: LF, CR LF and LF CR (which the language files write) each become one CR LF; a CR on its
// own stays as it is.
std::string CrLfLineEnds(const std::string& text);

// Replaces the first "%1" in `text` by `value`; a text without one comes back unchanged.
std::string ReplaceFirstPlaceholder(const std::string& text, const std::string& value);

// Whether every byte is below 0x80.
bool IsAscii(std::string_view text);
// The offset of the first byte that does not belong to a well-formed UTF-8 character (an
// overlong form, a surrogate or a value above U+10FFFF included), or npos when there is none.
size_t FindInvalidUtf8(std::string_view text);

// UTF-8 as UTF-16 code units, a character beyond U+FFFF as a surrogate pair; each byte that
// belongs to no well-formed character becomes U+FFFD.
std::u16string Utf16FromUtf8(std::string_view text);

// False when the name holds a character that no file name may contain: \ / : * ? " < > |
bool IsValidFileName(const std::string& name);

// A file or folder name that Windows keeps exactly as it is spelt, so that what a package names
// is what lands on the disk: not empty, "." or ".."; no character that a name cannot hold
// (the nine above and the control characters); no trailing dot or blank, which Windows drops
// ("setup.exe." would open setup.exe); and no device name (CON, NUL.txt, COM1, ...), which
// Windows opens in place of a file.
bool IsStoredAsSpelt(std::string_view name);
// Why Windows would not keep `name` as it is spelt, in words for a build's error ("the
// character \"*\"", "the device name \"CON\""); empty when IsStoredAsSpelt holds. Bytes that are
// not UTF-8 count as a fault too: Windows would store another character in their place.
std::string SpellingFault(std::string_view name);
// The name as Windows stores it: without its trailing dots and blanks ("Widgets, Inc." is kept
// as "Widgets, Inc"). "." and ".." are names of their own and stay as they are.
std::string WindowsStoredName(std::string_view name);

// Splits a command line into arguments: white space separates them; an argument that begins
// with a double quote runs to the next double quote followed by white space or the end, without
// either quote. Argument 0 is the program.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

// A file size as the builder shows it: "%d bytes" below 1024, "%d KB" below 1,024,000, above
// that the kilobytes with a comma before their last three digits ("1,953 KB").
std::string FormatFileSize(std::uint32_t size);
// A file size in a language's words: `bytesText` ("%1 bytes") below 1024, otherwise `kilobytesText`
// ("%1 KB") with the kilobytes in groups of three digits, `separator` between the groups.
std::string FormatFileSize(std::uint64_t size, const std::string& bytesText, const std::string& kilobytesText,
                           const std::string& separator);

// A local time as the Files page shows it: the date in `dateOrder`, where "DD", "MM" and "YY" stand
// for the day, the month and the year's last two digits, each as two digits, and every other
// character stays ("MM.DD.YY" in English, "DD.MM.YY" in German), then a blank and "HH:MM". An
// order that lacks any of the three is taken as "MM.DD.YY".
std::string FormatFileTime(const std::string& dateOrder, int year, int month, int day, int hour, int minute);

// Each byte as two upper-case hex digits.
std::string HexBytes(const std::string& bytes);
// The bytes of pairs of hex digits (either case); false on anything else.
bool ReadHexBytes(const std::string& text, std::string& bytes);

// A list of strings on one line, as the project and setup.ini keep a multi-string's data: each
// string in double quotes, a quote inside doubled, the strings separated by commas
// ("C:\One","say ""hi"""). Backslashes, commas and "%" stay as they are, so paths read as typed.
std::string QuotedList(const std::vector<std::string>& strings);
// The strings of such a line; an empty line is no string. False, with `strings` empty, when the
// line is not a quoted list (text outside quotes, a quote left open).
bool ReadQuotedList(const std::string& line, std::vector<std::string>& strings);

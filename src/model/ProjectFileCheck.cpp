#include "model/ProjectFileCheck.h"

#include <algorithm>
#include <set>
#include <string_view>

#include "core/Exception.h"
#include "core/Text.h"
#include "profile/ProfileText.h"

namespace {

// Every section a project file has and the keys its section object reads. A key that a
// section's Load learns must be added here too, or projects that use it are reported as damaged
// (the tests save a project with every section filled and check it reads without findings).
struct KnownSection {
    const char* name;
    std::vector<std::string> keys;  // each with its "="; empty for [FILE_TYPES], whose lines are records
    bool records = false;           // lines of items, which never hold a CR or LF of their own
};

std::vector<std::string> SetupWindowKeys() {
    std::vector<std::string> keys = {"WindowTitle=", "GradientFill=", "ColorFrom=", "ColorTo="};
    for (const char* text : {"Heading", "Subheading", "Footer"})
        for (const char* field : {"=", "Font=", "Color=", "Alignment=", "3D="}) keys.push_back(std::string(text) + field);
    return keys;
}

const std::vector<KnownSection>& KnownSections() {
    static const std::vector<KnownSection> sections = {
        {"BUILDER_INFO", {"Version="}},
        {"GENERAL_INFO",
         {"CompanyName=", "ProductName=", "ProductVersion=", "ProductDescription=", "ProductURL=", "CopyrightNotice="}},
        {"SETUP_INFO",
         {"DefaultInstallationPath=", "DefaultShortcutFolderName=", "EnableUninstaller=", "AddRemoveProgramsDescription=",
          "CreateUninstallerIcon=", "UninstallerIconDescription=", "SetupType=", "DefaultSetupLanguage=",
          "SetupLanguages=", "InstallScope="}},
        {"SYSTEM_REQUIREMENTS",
         {"AnyWindows=", "Windows95=", "Windows98=", "WindowsME=", "WindowsNT4=", "Windows2000=", "WindowsXP=",
          "Windows10=", "Windows11=", "Only64BitWindows=", "RequiredDiskSpace=", "AbortInstallation="}},
        {"DIALOGS",
         {"SplashWindow=", "SetupWindow=", "LanguageDialog=", "WelcomeDialog=", "LicenseDialog=", "ReadmeDialog=",
          "UserInfoDialog=", "TargetDirectoryDialog=", "SetupTypeDialog=", "CustomSetupDialog=", "ProgramGroupDialog=",
          "StartDialog=", "FinishDialog="}},
        {"SPLASH_WINDOW", {"Bitmap_Pathname="}},
        {"SETUP_WINDOW", SetupWindowKeys()},
        {"LICENSE_DIALOG", {"License_Pathname="}},
        {"README_DIALOG", {"Readme_Pathname="}},
        {"FINISH_DIALOG",
         {"Show_ViewReadme_CheckBox=", "Show_ViewReadme_Checked=", "Show_RunApplication_CheckBox=",
          "Show_RunApplication_Checked=", "Readme_Pathname=", "Application_Pathname="}},
        {"CREATE_SETUP",
         {"OutputFolder=", "SetupFilename=", "SetupIconPathname=", "CreateSelfExtractedSetup=", "Compression="}},
        {"APPLICATION_FILES", {"Folder=", "File="}, true},
        {"SHORTCUTS", {"ShortcutFolder=", "Shortcut=", "InternetShortcut="}, true},
        {"REGISTRY_ENTRIES", {"KEY=", "STRING=", "BINARY=", "DWORD=", "EXPANDSTRING=", "MULTISTRING="}, true},
        {"FILE_TYPES", {}, true},
    };
    return sections;
}

const KnownSection* FindKnown(std::string_view name) {
    for (const KnownSection& section : KnownSections())
        if (name == section.name) return &section;
    return nullptr;
}

// The name of a section header line ("[NAME]" and nothing after it), or empty.
std::string_view HeaderName(std::string_view line) {
    if (line.size() < 3 || line.front() != '[' || line.back() != ']') return {};
    return line.substr(1, line.size() - 2);
}

bool IsBlankLine(std::string_view line) {
    return std::all_of(line.begin(), line.end(), [](char c) { return c == ' ' || c == '\t'; });
}

// A line of a section that its object reads: one of its keys, or in [FILE_TYPES] a record of
// six fields.
bool IsReadable(const KnownSection& section, std::string_view line) {
    if (section.keys.empty()) return std::count(line.begin(), line.end(), ',') >= 5;
    for (const std::string& key : section.keys)
        if (line.substr(0, key.size()) == key) return true;
    return false;
}

constexpr size_t kShownLength = 40;

// The text of a line in quotes, shortened to `length` characters, control characters blanked.
std::string QuotedLine(std::string_view line, size_t length) {
    std::string text(line.substr(0, length));
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 32) c = ' ';
    return "line \"" + text + (line.size() > length ? "...\"" : "\"");
}

// A line as a finding shows it: the key of a key line, otherwise the text, shortened.
std::string Shown(std::string_view line) {
    const size_t equals = line.find('=');
    if (equals != std::string_view::npos && equals > 0 && equals < kShownLength &&
        line.substr(0, equals).find_first_of(" ,[") == std::string_view::npos)
        return "key " + std::string(line.substr(0, equals + 1));
    return QuotedLine(line, kShownLength);
}

// A multi-string value line is the key's path, a comma and the strings, each in double quotes
// (a quote inside doubled), separated by commas. The registry section drops a line it cannot
// read so, and the reader must hear of it.
bool IsReadableMultiString(std::string_view line) {
    static constexpr std::string_view kKey = "MULTISTRING=";
    if (line.substr(0, kKey.size()) != kKey) return true;
    const size_t comma = line.find(',', kKey.size());
    if (comma == std::string_view::npos) return false;
    std::vector<std::string> strings;
    return ReadQuotedList(std::string(line.substr(comma + 1)), strings);
}

[[noreturn]] void Refuse(const std::string& fileName, const std::string& what) {
    throw ProjectFormatException(fileName + " is not a Quillset project: " + what);
}

// The byte-order marks of the encodings a project is never written in; UTF-32 first, as its
// little-endian mark begins with UTF-16's.
void RefuseOtherEncodings(const std::string& bytes, const std::string& fileName) {
    static const struct {
        std::string_view mark;
        const char* name;
    } kMarks[] = {{std::string_view("\xFF\xFE\0\0", 4), "UTF-32"},
                  {std::string_view("\0\0\xFE\xFF", 4), "UTF-32"},
                  {"\xFF\xFE", "UTF-16"},
                  {"\xFE\xFF", "UTF-16"}};
    for (const auto& known : kMarks)
        if (std::string_view(bytes).substr(0, known.mark.size()) == known.mark)
            Refuse(fileName, std::string("it is ") + known.name +
                                 " text (it begins with that byte-order mark); save it as 8-bit text");
}

class Checker {
public:
    explicit Checker(const std::string& fileName) : fileName_(fileName) {}

    void Line(size_t number, std::string_view line) {
        if (line.empty() || line.front() == ';') return;
        if (line.front() == '[') return Header(number, line);
        if (IsBlankLine(line) || skipping_) return;
        // A file of CR LF lines with LF lines among them reads those as parts of one line.
        if (section_ && section_->records && line.find_first_of("\r\n") != std::string_view::npos)
            return Add(number, "a line end of another kind inside the line: the file mixes line ends, and the lines "
                               "after it up to the next CR LF are not read in [" + std::string(section_->name) + "]");
        if (section_ && IsReadable(*section_, line)) {
            if (section_->records && !IsReadableMultiString(line))
                Add(number, "the multi-string value of " + QuotedLine(line, 2 * kShownLength) + " in [" +
                                section_->name + "] cannot be read and is left out (it needs the key's path, a "
                                "comma and the strings, each in double quotes, separated by commas)");
            return;
        }
        if (!section_)
            Add(number, Shown(line) + " outside any section");
        else
            Add(number, "unknown " + Shown(line) + " in [" + section_->name + "]");
    }

    void Unterminated(size_t number) {
        Add(number, "the last line has no line end: the file may be cut off");
    }

    bool AnyKnownSection() const { return !seen_.empty(); }

    std::vector<std::string> Findings() {
        if (unlisted_ > 0)
            findings_.push_back(fileName_ + ": " + std::to_string(unlisted_) + " more lines that Quillset does not read");
        return std::move(findings_);
    }

private:
    // A header line: sections are read from their first header only, so the lines below a
    // repeated one are never read, and neither are those of an unknown section.
    void Header(size_t number, std::string_view line) {
        const std::string_view name = HeaderName(line);
        const KnownSection* known = FindKnown(name);
        section_ = nullptr;
        skipping_ = true;
        if (!known) {
            Add(number, name.empty() ? "unknown " + Shown(line) : "unknown section [" + std::string(name) + "]");
        } else if (!seen_.insert(known->name).second) {
            Add(number, "[" + std::string(name) + "] appears a second time; only its first lines are read");
        } else {
            section_ = known;
            skipping_ = false;
        }
    }

    void Add(size_t number, const std::string& text) {
        // Counting goes on past the listed ones without building their sentences.
        if (findings_.size() == kMostFindings) {
            ++unlisted_;
            return;
        }
        findings_.push_back(fileName_ + " line " + std::to_string(number) + ": " + text);
    }

    const std::string& fileName_;
    const KnownSection* section_ = nullptr;
    bool skipping_ = false;  // inside a section that is not read
    std::set<std::string> seen_;
    std::vector<std::string> findings_;
    size_t unlisted_ = 0;
};

}  // namespace

std::vector<std::string> CheckProjectText(const std::string& bytes, const std::string& fileName) {
    if (bytes.empty()) Refuse(fileName, "the file is empty");
    RefuseOtherEncodings(bytes, fileName);
    const size_t zero = bytes.find('\0');
    if (zero != std::string::npos)
        Refuse(fileName, "it holds binary data (a zero byte at offset " + std::to_string(zero) + ")");

    Checker checker(fileName);
    // A UTF-8 byte-order mark before the first line is no part of it.
    const size_t skip = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    ForEachRawLine(bytes, [&](size_t number, size_t start, size_t length, bool terminated) {
        if (start == 0) {
            start += skip;
            length -= std::min(length, skip);
        }
        checker.Line(number, std::string_view(bytes).substr(start, length));
        if (!terminated) checker.Unterminated(number);
    });
    if (!checker.AnyKnownSection())
        Refuse(fileName, "it holds none of the project's sections, such as [GENERAL_INFO] or [APPLICATION_FILES]");
    return checker.Findings();
}

// The readers and comparisons of qsbuild --verify, on bytes made here in the forms that Wine
// and the shell write: shortcuts, registry exports, drive snapshots, the allow-list and the report.
#include <algorithm>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "verify/DiskSnapshot.h"
#include "verify/RegistryExport.h"
#include "verify/ShellLinkReader.h"
#include "verify/VerifyReport.h"
#include "verify/WineAllowList.h"

namespace {

std::string U16(std::uint32_t v) { return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; }
std::string U32(std::uint32_t v) { return U16(v & 0xFFFF) + U16(v >> 16); }
std::string Wide(const std::string& ascii) {
    std::string out;
    for (char c : ascii) out += {c, '\0'};
    return out;
}

// The 76-byte header of a shortcut with `flags`, icon index 2 and show command 3.
std::string LinkHeader(std::uint32_t flags) {
    std::string h = U32(0x4C) + std::string("\x01\x14\x02\x00\x00\x00\x00\x00\xC0\x00\x00\x00\x00\x00\x00\x46", 16);
    h += U32(flags) + U32(0) + std::string(24, '\0') + U32(0) + U32(2) + U32(3);
    return h + std::string(0x4C - h.size(), '\0');
}

// Link information with the local base path in single bytes and in UTF-16.
std::string LinkInfo(const std::string& base) {
    const std::uint32_t header = 0x24;
    const std::uint32_t ansiAt = header, wideAt = ansiAt + static_cast<std::uint32_t>(base.size()) + 1;
    const std::string body = base + '\0' + Wide(base) + std::string(2, '\0');
    std::string info = U32(header + static_cast<std::uint32_t>(body.size())) + U32(header) + U32(1) + U32(0) + U32(ansiAt) +
                       U32(0) + U32(0) + U32(wideAt) + U32(0);
    return info + body;
}

// Counted UTF-16 strings as Wine writes them: the count takes in the terminating zero.
std::string Counted(const std::string& text) { return U16(static_cast<std::uint32_t>(text.size() + 1)) + Wide(text) + U16(0); }

}  // namespace

TEST(ShellLinkReader, ReadsTargetArgumentsFolderAndIconFromLinkInfo) {
    const std::string path = "C:\\Program Files\\Demo\\app.exe";
    const std::string bytes = LinkHeader(0x2 | 0x10 | 0x20 | 0x40 | 0x80) + LinkInfo(path) +
                              Counted("C:\\Program Files\\Demo") + Counted("--open \"x y\"") + Counted("C:\\icons.dll");
    ShellLinkData link;
    std::string problem;
    ASSERT_TRUE(ReadShellLink(bytes, link, problem)) << problem;
    EXPECT_EQ(link.target, path);
    EXPECT_EQ(link.workingFolder, "C:\\Program Files\\Demo");
    EXPECT_EQ(link.arguments, "--open \"x y\"");
    EXPECT_EQ(link.iconLocation, "C:\\icons.dll");
    EXPECT_EQ(link.iconIndex, 2);
    EXPECT_EQ(link.showCommand, 3);
}

TEST(ShellLinkReader, TakesThePathFromTheItemListWithoutLinkInfo) {
    // My Computer, the volume C:\, a folder and a file with short names only.
    auto item = [](char type, const std::string& rest) { return U16(static_cast<std::uint32_t>(rest.size() + 3)) + type + rest; };
    auto entry = [&](char type, const std::string& name) { return item(type, std::string(11, '\0') + name + '\0'); };
    const std::string list = item('\x1F', std::string(17, '\x01')) + item('\x2F', std::string("C:\\") + '\0') +
                             entry('\x31', "DEMO") + entry('\x32', "APP.EXE") + U16(0);
    const std::string bytes = LinkHeader(0x1) + U16(static_cast<std::uint32_t>(list.size())) + list;
    ShellLinkData link;
    std::string problem;
    ASSERT_TRUE(ReadShellLink(bytes, link, problem)) << problem;
    EXPECT_EQ(link.target, "C:\\DEMO\\APP.EXE");
}

TEST(ShellLinkReader, RefusesOtherFilesAndNeverReadsPastTheEnd) {
    ShellLinkData link;
    std::string problem;
    EXPECT_FALSE(ReadShellLink("[InternetShortcut]\r\nURL=http://example.com/\r\n", link, problem));
    EXPECT_NE(problem.find("not a shortcut"), std::string::npos);
    const std::string whole = LinkHeader(0x2 | 0x10 | 0x20 | 0x80) + LinkInfo("C:\\a.exe") + Counted("C:\\") + Counted("-x");
    // Every shorter prefix is refused or read within its bytes (the sanitizers watch).
    for (size_t size = 0x4C; size < whole.size(); ++size) {
        EXPECT_FALSE(ReadShellLink(whole.substr(0, size), link, problem)) << size;
    }
}

TEST(RegistryExport, ReadsTheUtf16ExportWithEveryValueForm) {
    const std::string text =
        "Windows Registry Editor Version 5.00\r\n\r\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Demo]\r\n"
        "@=\"default \\\"quoted\\\" C:\\\\path\"\r\n"
        "\"Count\"=dword:0000000a\r\n"
        "\"Blob\"=hex:2c,00,01,\\\r\n  a0,ff\r\n"
        "\"Expand\"=hex(2):25,00,41,00,25,00,00,00\r\n"
        "\r\n[HKEY_CURRENT_USER\\Software\\Empty]\r\n";
    RegistryExport reg;
    std::string problem;
    ASSERT_TRUE(ReadRegistryExport("\xFF\xFE" + Wide(text), reg, problem)) << problem;
    ASSERT_EQ(reg.keys.size(), 2u);
    const RegistryValue* def = reg.FindValue("hkey_local_machine\\SOFTWARE\\demo", "");
    ASSERT_NE(def, nullptr);
    EXPECT_EQ(def->text, "default \"quoted\" C:\\path");
    EXPECT_EQ(reg.FindValue("HKEY_LOCAL_MACHINE\\Software\\Demo", "count")->text, "0x0000000A");
    EXPECT_EQ(reg.FindValue("HKEY_LOCAL_MACHINE\\Software\\Demo", "Blob")->text, "2C0001A0FF");
    const RegistryValue* expand = reg.FindValue("HKEY_LOCAL_MACHINE\\Software\\Demo", "Expand");
    EXPECT_EQ(expand->type, 2u);
    EXPECT_EQ(expand->text, "%A%");
    EXPECT_TRUE(reg.Find("HKEY_CURRENT_USER\\Software\\Empty")->values.empty());
    // The same text as a planned value shows it.
    EXPECT_EQ(RegistryValueText(4, std::string("\x0A\x00\x00\x00", 4)), "0x0000000A");
    EXPECT_EQ(RegistryValueText(1, std::string("C:\\path\0", 8)), "C:\\path");
}

TEST(RegistryExport, RefusesWhatIsNoExport) {
    RegistryExport reg;
    std::string problem;
    EXPECT_FALSE(ReadRegistryExport("hello", reg, problem));
    EXPECT_FALSE(ReadRegistryExport("REGEDIT4\r\n\"Orphan\"=\"value\"\r\n", reg, problem));
    EXPECT_NE(problem.find("line 2"), std::string::npos);
    EXPECT_FALSE(ReadRegistryExport("REGEDIT4\r\n[HKEY_CURRENT_USER\\A]\r\n\"N\"=dword:123456789\r\n", reg, problem));
}

TEST(RegistryExport, ComparesKeysAndValues) {
    RegistryExport before, after;
    std::string problem;
    ASSERT_TRUE(ReadRegistryExport("REGEDIT4\r\n[HKEY_CURRENT_USER\\Kept]\r\n\"Same\"=\"1\"\r\n\"Changed\"=\"old\"\r\n"
                                   "\"Gone\"=\"x\"\r\n[HKEY_CURRENT_USER\\Removed]\r\n",
                                   before, problem));
    ASSERT_TRUE(ReadRegistryExport("REGEDIT4\r\n[HKEY_CURRENT_USER\\kept]\r\n\"SAME\"=\"1\"\r\n\"Changed\"=\"new\"\r\n"
                                   "\"New\"=dword:00000001\r\n[HKEY_CURRENT_USER\\Added]\r\n\"V\"=\"a\"\r\n",
                                   after, problem));
    std::vector<std::string> seen;
    for (const RegistryChange& c : CompareRegistry(before, after))
        seen.push_back(std::string(c.kind == RegistryChange::Added ? "+" : c.kind == RegistryChange::Changed ? "~" : "-") +
                       c.key + (c.isKey ? "" : "|" + c.value.name + "=" + c.value.text));
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen, (std::vector<std::string>{"+HKEY_CURRENT_USER\\Added", "+HKEY_CURRENT_USER\\Added|V=a",
                                              "+HKEY_CURRENT_USER\\kept|New=0x00000001", "-HKEY_CURRENT_USER\\Removed",
                                              "-HKEY_CURRENT_USER\\kept|Gone=x", "~HKEY_CURRENT_USER\\kept|Changed=new"}));
}

TEST(DiskSnapshot, FindsAddedChangedAndRemovedFilesAndFolders) {
    ScratchFolder drive;
    drive.Write("kept.txt", "same");
    drive.Write("changed.txt", "short");
    drive.Write("gone.txt", "x");
    const DiskSnapshot before = DiskSnapshot::Take(drive.Path());
    drive.Write("changed.txt", "longer now");
    RemoveFile(drive.File("gone.txt"));
    drive.Folder("New Folder");
    drive.Write("New Folder\\added.txt", "abc");
    const DiskSnapshot after = DiskSnapshot::Take(drive.Path());
    std::vector<std::string> seen;
    for (const DiskChange& c : CompareDisk(before, after))
        seen.push_back(std::string(c.kind == DiskChange::Added ? "+" : c.kind == DiskChange::Changed ? "~" : "-") + c.entry.path);
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(seen, (std::vector<std::string>{"+C:\\New Folder", "+C:\\New Folder\\added.txt", "-C:\\gone.txt", "~C:\\changed.txt"}));
    ASSERT_NE(after.Find("c:\\NEW FOLDER\\Added.TXT"), nullptr);
    EXPECT_EQ(after.Find("C:\\New Folder\\added.txt")->size, 3u);
    std::string digest;
    ASSERT_TRUE(FileSha256(HostPathOf(drive.Path(), "C:\\New Folder\\added.txt"), digest));
    EXPECT_EQ(digest, "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD");
    EXPECT_EQ(HostPathOf(drive.Path(), "D:\\other"), "");
}

TEST(WineAllowList, NamesWinesOwnWritesOnly) {
    EXPECT_TRUE(IsWinesOwnWrite("C:\\windows\\Temp\\setup-1234\\_setup.exe"));
    EXPECT_TRUE(IsWinesOwnWrite("C:\\users\\builder\\AppData\\Local\\Temp\\x.tmp"));
    EXPECT_TRUE(IsWinesOwnWrite("HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Video\\{0cc81bb7}\\0000|DriverError"));
    EXPECT_TRUE(IsWinesOwnWrite("HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Class\\"
                                "{4D36E968-E325-11CE-BFC1-08002BE10318}\\0000|DriverDateData"));
    EXPECT_TRUE(IsWinesOwnWrite("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts|"
                                "Noto Color Emoji=Z:\\usr\\share\\fonts\\NotoColorEmoji.ttf"));
    EXPECT_FALSE(IsWinesOwnWrite("HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts|"
                                 "Product Sans=C:\\windows\\Fonts\\product.ttf"));
    EXPECT_FALSE(IsWinesOwnWrite("C:\\windows\\system32\\product.dll"));
    EXPECT_FALSE(IsWinesOwnWrite("C:\\Program Files\\Temp\\app.exe"));
    EXPECT_FALSE(IsWinesOwnWrite("HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\ProductService"));
    EXPECT_FALSE(IsWinesOwnWrite("HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Class\\{OTHER}|DriverDateData"));
}

TEST(VerifyReport, ExitCodesAndJsonEscapes) {
    VerifyResult result;
    EXPECT_EQ(VerifyExitCode(result), 2);
    result.ran = true;
    EXPECT_EQ(VerifyExitCode(result), 0);
    result.files.push_back({"C:\\App\\a \"b\".txt", 3, "AB"});
    result.findings.push_back({"left-file", "C:\\App\\tab\there", std::string("control \x01 and caf\xE9")});
    EXPECT_EQ(VerifyExitCode(result), 1);
    const std::string json = VerifyJson(result);
    EXPECT_NE(json.find("\"path\": \"C:\\\\App\\\\a \\\"b\\\".txt\""), std::string::npos) << json;
    EXPECT_NE(json.find("C:\\\\App\\\\tab\\there"), std::string::npos);
    EXPECT_NE(json.find("control \\u0001 and caf\xC3\xA9"), std::string::npos);
    EXPECT_NE(json.find("\"result\": \"findings\""), std::string::npos);
    const std::string summary = VerifySummary(result);
    EXPECT_NE(summary.find("left-file: C:\\App\\tab\there: control"), std::string::npos);
    EXPECT_NE(summary.find("1 finding"), std::string::npos);
}

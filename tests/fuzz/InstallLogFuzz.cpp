// The install log: any text is read or refused, and what is read writes back to the same lines;
// actions with any bytes in their paths and names survive a whole log written (in UTF-8, as the
// installer writes it) and read again, whatever the installation folder and the product are
// called. The journal of an installation under way likewise, and recovery plans whatever it reads.
#include <fuzzer/FuzzedDataProvider.h>

#include "FuzzSupport.h"
#include "installer/InstallJournal.h"
#include "installer/InstallLog.h"
#include "profile/TextForm.h"

namespace {

void ReadAnyLog(const std::string& text) {
    InstallLog log;
    if (!log.Read(ProfileText::FromBytes(text))) return;
    std::string lines = log.ActionLines();
    InstallLog again;
    // Written as the installer writes its log: UTF-8, marked when it holds more than ASCII.
    FUZZ_CHECK(again.Read(ProfileText::FromBytes(EncodeUtf8("[ACTIONS]\r\n" + lines))), "a log that was read reads again");
    FUZZ_CHECK(again.ActionLines() == lines, "a log that was read writes back the same lines");
}

void ReadAnyJournal(const std::string& text) {
    std::vector<JournalRecord> records;
    if (!ReadJournal(text, records)) return;
    std::string lines;
    for (const JournalRecord& r : records) lines += JournalLine(r);
    FUZZ_CHECK(lines == text.substr(0, lines.size()), "a journal that was read writes back the same lines");
    std::vector<RecoveryStep> steps = PlanRecovery(records, [&](const std::string& path) { return path.size() % 2 == 0; });
    FUZZ_CHECK(steps.size() <= records.size(), "recovery takes each record back at most once");
}

InstallAction AnyAction(FuzzedDataProvider& input) {
    InstallAction a;
    a.kind = static_cast<ActionKind>(input.ConsumeIntegralInRange(0, 4));
    switch (a.kind) {
        case ActionKind::Folder: a.path = input.ConsumeRandomLengthString(80); break;
        case ActionKind::File:
        case ActionKind::Registered:
            a.path = input.ConsumeRandomLengthString(80);
            a.options = input.ConsumeIntegral<int>();
            a.previousCount = input.ConsumeIntegral<long>();
            break;
        case ActionKind::Key:
        case ActionKind::Value:
            a.hive = input.ConsumeRandomLengthString(8);
            a.key = input.ConsumeRandomLengthString(80);
            if (a.kind == ActionKind::Value) {
                a.name = input.ConsumeRandomLengthString(40);
                a.previousType = input.ConsumeIntegral<long>();
                a.previousData = input.ConsumeRandomLengthString(40);
            }
            break;
    }
    return a;
}

bool Same(const InstallAction& a, const InstallAction& b) {
    return a.kind == b.kind && a.path == b.path && a.options == b.options && a.previousCount == b.previousCount &&
           a.hive == b.hive && a.key == b.key && a.name == b.name && a.previousType == b.previousType &&
           a.previousData == b.previousData;
}

// Texts of the [UNINSTALL] section come from setup.ini lines, which never hold a CR LF.
std::string OneLine(std::string text) {
    for (size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 2);
    return text;
}

void WriteAndReadActions(FuzzedDataProvider& input) {
    std::string product = OneLine(input.ConsumeRandomLengthString(40));
    std::string appDir = OneLine(input.ConsumeRandomLengthString(80));
    InstallLog log;
    for (int n = input.ConsumeIntegralInRange(0, 8); n > 0; --n) log.Add(AnyAction(input));
    std::string text = "[UNINSTALL]\r\nProductName=" + product + "\r\nAppDir=" + appDir +
                       "\r\nPanelColours=0x00FF0000,0x00000000\r\n\r\n[ACTIONS]\r\n" + log.ActionLines() + "\r\n";
    ProfileText profile = ProfileText::FromBytes(EncodeUtf8(text));
    InstallLog back;
    FUZZ_CHECK(back.Read(profile), "a written log reads");
    FUZZ_CHECK(back.Actions().size() == log.Actions().size(), "every action comes back");
    for (size_t i = 0; i < log.Actions().size(); ++i)
        FUZZ_CHECK(Same(back.Actions()[i], log.Actions()[i]), "an action comes back as it was");
    std::string colours;
    profile.GetValue(colours, "UNINSTALL", "PanelColours", "");
    FUZZ_CHECK(colours == "0x00FF0000,0x00000000", "the product's texts hide no key");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    ReadAnyLog(std::string(reinterpret_cast<const char*>(data), size));
    ReadAnyJournal(std::string(reinterpret_cast<const char*>(data), size));
    FuzzedDataProvider input(data, size);
    WriteAndReadActions(input);
    return 0;
}

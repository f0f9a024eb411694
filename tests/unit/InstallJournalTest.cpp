// What recovery does after a power loss for each state in which the journal of an installation
// can be left, and the journal's lines.
#include <set>

#include <gtest/gtest.h>

#include "installer/InstallJournal.h"

namespace {

JournalRecord Record(JournalKind kind, const std::string& path, const std::string& backup = std::string()) {
    JournalRecord r;
    r.kind = kind;
    r.path = path;
    r.backup = backup;
    return r;
}

// The steps as "op path" texts, for short comparisons.
std::vector<std::string> Steps(const std::vector<JournalRecord>& records, const std::set<std::string>& present) {
    static const char* kOps[] = {"RemoveFolder", "DeleteFile", "RestoreBackup", "RestoreValue", "RemoveKey"};
    std::vector<std::string> texts;
    for (const RecoveryStep& s : PlanRecovery(records, [&](const std::string& p) { return present.count(p) > 0; }))
        texts.push_back(std::string(kOps[static_cast<int>(s.op)]) + " " + (s.record.path.empty() ? s.record.key : s.record.path));
    return texts;
}

const std::string kFile = "C:\\App\\a.txt", kFresh = kFile + ".qs-new", kOld = kFile + ".qs-old";

}  // namespace

TEST(InstallJournal, RecordsSurviveTheirLinesAndACutLastLineIsLeftOut) {
    JournalRecord value;
    value.kind = JournalKind::Value;
    value.hive = "HKLM";
    value.key = "Software\\Tab\there";
    value.name = "100%";
    value.previousType = 1;
    value.previousData = std::string("a\0b", 3);
    std::string text = JournalLine(Record(JournalKind::Backup, kFile, kOld)) + JournalLine(value);
    std::vector<JournalRecord> read;
    ASSERT_TRUE(ReadJournal(text + "Placed\tC:\\App\\b", read));
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(read[0].kind, JournalKind::Backup);
    EXPECT_EQ(read[0].backup, kOld);
    EXPECT_EQ(read[1].key, value.key);
    EXPECT_EQ(read[1].name, "100%");
    EXPECT_EQ(read[1].previousData, value.previousData);
    EXPECT_FALSE(ReadJournal("Nonsense\t\r\n", read));
    EXPECT_TRUE(ReadJournal("", read));
    EXPECT_TRUE(read.empty());
}

TEST(InstallJournal, ANewFileIsDeletedOnlyOnceItWasRenamedIntoPlace) {
    // Stopped while writing: the temporary file goes, a file of that name stays (it is not ours).
    std::vector<JournalRecord> writing = {Record(JournalKind::Writing, kFile)};
    EXPECT_EQ(Steps(writing, {kFresh, kFile}), std::vector<std::string>{"DeleteFile " + kFresh});
    // Stopped before the rename, or the rename found a file there: the same.
    std::vector<JournalRecord> placing = {Record(JournalKind::Writing, kFile), Record(JournalKind::Placing, kFile)};
    EXPECT_EQ(Steps(placing, {kFresh, kFile}), std::vector<std::string>{"DeleteFile " + kFresh});
    // Renamed: the file in place is this installation's, whether or not Placed was written.
    EXPECT_EQ(Steps(placing, {kFile}), (std::vector<std::string>{"DeleteFile " + kFile, "DeleteFile " + kFresh}));
    placing.push_back(Record(JournalKind::Placed, kFile));
    EXPECT_EQ(Steps(placing, {kFile}), (std::vector<std::string>{"DeleteFile " + kFile, "DeleteFile " + kFresh}));
}

TEST(InstallJournal, AReplacedFileComesBackAndAKeptOneStays) {
    std::vector<JournalRecord> replaced = {Record(JournalKind::Writing, kFile), Record(JournalKind::Placing, kFile),
                                           Record(JournalKind::Backup, kFile, kOld)};
    // Stopped before the existing file was moved aside: nothing but the temporary file to remove.
    EXPECT_EQ(Steps(replaced, {kFile, kFresh}), std::vector<std::string>{"DeleteFile " + kFresh});
    // Moved aside, with or without the new one in place: the backup returns, and the Placing
    // record, which found the file there, deletes nothing.
    EXPECT_EQ(Steps(replaced, {kOld, kFresh}), (std::vector<std::string>{"RestoreBackup " + kFile, "DeleteFile " + kFresh}));
    replaced.push_back(Record(JournalKind::Placed, kFile));
    EXPECT_EQ(Steps(replaced, {kOld, kFile}), (std::vector<std::string>{"RestoreBackup " + kFile, "DeleteFile " + kFresh}));

    std::vector<JournalRecord> kept = {Record(JournalKind::Writing, kFile), Record(JournalKind::Placing, kFile),
                                       Record(JournalKind::Kept, kFile)};
    EXPECT_EQ(Steps(kept, {kFile}), std::vector<std::string>{"DeleteFile " + kFresh});

    // A file in use waits for the restart: its replacement goes, the file stays.
    std::vector<JournalRecord> pending = {Record(JournalKind::Backup, kFile, kOld), Record(JournalKind::Pending, kFile, kFresh)};
    EXPECT_EQ(Steps(pending, {kFile, kFresh}), std::vector<std::string>{"DeleteFile " + kFresh});
}

TEST(InstallJournal, EverythingIsTakenBackInTheReverseOrder) {
    JournalRecord key, value;
    key.kind = JournalKind::Key;
    key.hive = "HKLM";
    key.key = "Software\\App";
    value = key;
    value.kind = JournalKind::Value;
    value.name = "Version";
    std::vector<JournalRecord> records = {Record(JournalKind::Folder, "C:\\App"), key, value,
                                          Record(JournalKind::Backup, "C:\\App\\old.dll", "C:\\App\\old.dll.qs-old")};
    EXPECT_EQ(Steps(records, {"C:\\App\\old.dll.qs-old"}),
              (std::vector<std::string>{"RestoreBackup C:\\App\\old.dll", "RestoreValue Software\\App", "RemoveKey Software\\App",
                                        "RemoveFolder C:\\App"}));
}

// A power loss took the uninstall entry and its mark but left the journal: the entry is found in
// the journal of an installation that wrote into the folder, and only there.
TEST(InstallJournal, TheEntryOfAnUnmarkedJournalIsTheUninstallKeyItMade) {
    const std::string entries = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
    JournalRecord company;
    company.kind = JournalKind::Key;
    company.hive = "HKLM";
    company.key = "Software\\Quill";
    JournalRecord entry = company;
    entry.key = entries + "Quill Demo";
    JournalRecord deeper = company;
    deeper.key = entries + "Quill Demo\\Parts";
    const std::vector<JournalRecord> records = {entry, deeper, company, Record(JournalKind::Folder, "C:\\Apps\\Demo"),
                                                Record(JournalKind::Writing, "C:\\Apps\\Demo\\a.txt")};
    EXPECT_EQ(JournalEntryFor(records, "c:\\apps\\demo", "HKLM", entries), entries + "Quill Demo");
    EXPECT_EQ(JournalEntryFor(records, "C:\\Apps", "HKLM", entries), entries + "Quill Demo");
    EXPECT_EQ(JournalEntryFor(records, "C:\\Apps\\Dem", "HKLM", entries), "") << "another folder";
    EXPECT_EQ(JournalEntryFor(records, "C:\\Apps\\Demo", "HKCU", entries), "") << "another scope's hive";
    EXPECT_EQ(JournalEntryFor({records.begin() + 2, records.end()}, "C:\\Apps\\Demo", "HKLM", entries), "")
        << "an update's entry was there before and is no key it made";
}

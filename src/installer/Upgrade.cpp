#include "installer/Upgrade.h"

#include <algorithm>
#include <cctype>
#include <unordered_set>

#include "core/Path.h"
#include "core/Sha256.h"
#include "core/Text.h"
#include "package/SetupScript.h"

namespace {

std::vector<std::string> SplitDots(const std::string& version) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        size_t dot = version.find('.', start);
        parts.push_back(version.substr(start, dot == std::string::npos ? dot : dot - start));
        if (dot == std::string::npos) return parts;
        start = dot + 1;
    }
}

std::string Trim(const std::string& text) {
    size_t begin = text.find_first_not_of(" \t"), end = text.find_last_not_of(" \t");
    return begin == std::string::npos ? std::string() : text.substr(begin, end - begin + 1);
}

int Sign(int value) { return value < 0 ? -1 : value > 0 ? 1 : 0; }

// One part: its leading number (an absent one is 0), then the rest as text.
int CompareParts(const std::string& a, const std::string& b) {
    auto split = [](const std::string& part, std::string& digits, std::string& rest) {
        size_t i = 0;
        while (i < part.size() && std::isdigit(static_cast<unsigned char>(part[i]))) ++i;
        digits = part.substr(0, i);
        digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
        rest = LowerCase(part.substr(i));
    };
    std::string digitsA, restA, digitsB, restB;
    split(Trim(a), digitsA, restA);
    split(Trim(b), digitsB, restB);
    // Numbers of any length: the longer one without leading zeros is the larger.
    if (digitsA.size() != digitsB.size()) return digitsA.size() < digitsB.size() ? -1 : 1;
    if (int order = digitsA.compare(digitsB)) return Sign(order);
    return Sign(restA.compare(restB));
}

// Paths compared as Windows compares them, without regard to letter case; a set, since an
// update of thousands of files compares each with each.
std::unordered_set<std::string> PathSet(const std::vector<std::string>& paths) {
    std::unordered_set<std::string> set;
    for (const std::string& p : paths) set.insert(LowerCase(p));
    return set;
}

}  // namespace

int CompareVersions(const std::string& a, const std::string& b) {
    std::vector<std::string> partsA = SplitDots(Trim(a)), partsB = SplitDots(Trim(b));
    while (partsA.size() < partsB.size()) partsA.push_back("0");
    while (partsB.size() < partsA.size()) partsB.push_back("0");
    for (size_t i = 0; i < partsA.size(); ++i)
        if (int order = CompareParts(partsA[i], partsB[i])) return order;
    return 0;
}

UpgradeKind DecideUpgrade(bool installed, const std::string& installedVersion, const std::string& newVersion,
                          bool allowDowngrade) {
    if (!installed) return UpgradeKind::Fresh;
    if (Trim(installedVersion).empty() || Trim(newVersion).empty() || CompareVersions(newVersion, installedVersion) >= 0)
        return UpgradeKind::Update;
    return allowDowngrade ? UpgradeKind::Downgrade : UpgradeKind::Refused;
}

std::vector<std::string> ObsoleteFiles(const InstallLog& earlier, const std::vector<std::string>& planned) {
    std::vector<std::string> obsolete;
    std::unordered_set<std::string> seen = PathSet(planned);
    for (const InstallAction& a : earlier.Actions()) {
        if (a.kind != ActionKind::File || (a.options & (kNeverUninstall | kSharedFile | kSelfRegister | kKeptExisting)))
            continue;
        if (seen.insert(LowerCase(a.path)).second) obsolete.push_back(a.path);
    }
    return obsolete;
}

InstallLog WithoutFiles(const InstallLog& earlier, const std::vector<std::string>& removed) {
    InstallLog kept;
    const std::unordered_set<std::string> gone = PathSet(removed);
    for (const InstallAction& a : earlier.Actions())
        if (a.kind != ActionKind::File || !gone.count(LowerCase(a.path))) kept.Add(a);
    return kept;
}

std::string ProductLockName(const std::string& entry, bool allUsers) {
    // Backslashes separate namespaces in a mutex name; the hash keeps any entry name usable.
    return std::string(allUsers ? "Global\\" : "Local\\") + "Quillset.Setup." + Sha256Hex(LowerCase(entry)).substr(0, 32);
}

UninstallVerdict JudgeUninstall(const UninstallFacts& facts) {
    if (facts.trust == LogTrust::Trusted) return UninstallVerdict::Act;
    if (facts.trust == LogTrust::OtherFolder) return UninstallVerdict::OtherFolder;
    if (!facts.entryExists) return facts.filesLeft ? UninstallVerdict::EntryGone : UninstallVerdict::Finish;
    if (!facts.entryFolder.empty() && !EqualNoCase(TrimTrailingBackslashes(facts.entryFolder), TrimTrailingBackslashes(facts.folder)))
        return UninstallVerdict::InstalledAgain;
    if (!facts.entryUninstaller.empty() && !EqualNoCase(facts.entryUninstaller, facts.program))
        return UninstallVerdict::HandOver;
    return UninstallVerdict::Changed;
}

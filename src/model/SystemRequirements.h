#pragma once
// [SYSTEM_REQUIREMENTS]: the Windows versions the product installs on, the free disk space it
// needs and whether the installer stops when a requirement is not met.
#include <optional>
#include <string>

#include "model/DocumentBase.h"

class LineSink;
class ProfileText;
class ScriptBuilder;

class SystemRequirements : public Section {
public:
    // The Windows versions, in the order of their keys.
    enum Version { Windows95, Windows98, WindowsME, WindowsNT4, Windows2000, WindowsXP, kVersionCount };

    void SetDefaults();
    void Load(const ProfileText& project);
    bool Save(LineSink& out) const;
    // The disk space goes to [SETUP_INFO] of the script, the rest to [SYSTEM_REQUIREMENTS].
    void Export(ScriptBuilder& script) const;

    bool AnyWindows() const { return anyWindows_; }
    // Independent of AnyWindows: the editor only shows them checked while it is set.
    bool AllowsVersion(Version version) const { return IsVersion(version) && versions_[version]; }
    // Kilobytes as the user typed them; never checked for being a number.
    const std::string& RequiredDiskSpace() const { return diskSpace_; }
    bool AbortInstallation() const { return abortInstallation_; }
    // Today's Windows, decided by build number, and the 64-bit requirement: keys that older
    // projects lack. Missing, nothing is written and the installer decides as before they were.
    enum Modern { Windows10, Windows11, Only64Bit, kModernCount };
    std::optional<bool> Setting(Modern key) const { return IsModern(key) ? modern_[key] : std::nullopt; }

    // Each setter marks the document modified when `markModified` is set.
    void SetAnyWindows(bool value, bool markModified);
    void SetAllowsVersion(Version version, bool value, bool markModified);
    void SetRequiredDiskSpace(const std::string& value, bool markModified);
    void SetAbortInstallation(bool value, bool markModified);
    void SetSetting(Modern key, bool value, bool markModified);

private:
    static bool IsVersion(Version version) { return version >= 0 && version < kVersionCount; }
    static bool IsModern(Modern key) { return key >= 0 && key < kModernCount; }

    bool anyWindows_ = true;
    bool versions_[kVersionCount] = {true, true, true, true, true, true};
    std::string diskSpace_ = "10240";
    bool abortInstallation_ = false;
    std::optional<bool> modern_[kModernCount];
};

#pragma once
// The version information of a produced executable: the texts that the system's file properties,
// download scanners and deployment tools show, and the numeric file and product version.
#include <array>
#include <cstdint>
#include <string>

struct VersionTexts {
    std::string productName;
    std::string productVersion;
    std::string companyName;
    std::string fileDescription;
    std::string copyright;
};

// The numbers of a version text of one to four dot-separated numbers up to 65535 ("1.2.3" gives
// 1.2.3.0, blanks around it ignored); 0.0.0.0 for any other text.
std::array<std::uint16_t, 4> VersionNumbers(const std::string& text);

// The version resource (one string table, US English in UTF-16) for `texts`, which are UTF-8
// like every text of the builder.
std::string VersionResource(const VersionTexts& texts);

// Gives the executable at `targetPath` this version information in place of its own; false,
// the target unchanged, when it cannot take new resources.
bool SetVersionInfo(const std::string& targetPath, const VersionTexts& texts);

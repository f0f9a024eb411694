#pragma once
// [CREATE_SETUP]: where and how the installer is produced. Read by the build, never exported.
#include <string>

#include "model/DocumentBase.h"

class LineSink;
class ProfileText;

// How the product archive's entries are compressed. Standard is deflate, which every ZIP reader
// knows; Small is zstd, which makes a smaller setup and installs at least as fast, but needs an
// installer of this builder (or a ZIP reader that knows method 93) to unpack.
enum class Compression { Standard, Small };

class OutputSettings : public Section {
public:
    void SetDefaults();
    // Empties the texts; the self-extracting and compression choices keep their values.
    void Clear();
    void Load(const ProfileText& project);
    bool Save(LineSink& out) const;

    const std::string& OutputFolder() const { return outputFolder_; }
    const std::string& SetupFileName() const { return setupFileName_; }
    const std::string& SetupIconPath() const { return setupIconPath_; }
    bool CreateSelfExtractingSetup() const { return createSelfExtractingSetup_; }
    Compression ArchiveCompression() const { return compression_; }

    // Each setter marks the document modified.
    void SetOutputFolder(const std::string& path) { Set(outputFolder_, path); }
    void SetSetupFileName(const std::string& name) { Set(setupFileName_, name); }
    void SetSetupIconPath(const std::string& path) { Set(setupIconPath_, path); }
    void SetCreateSelfExtractingSetup(bool on) { Set(createSelfExtractingSetup_, on); }
    void SetArchiveCompression(Compression compression) { Set(compression_, compression); }

private:
    template <class T>
    void Set(T& field, const T& value) {
        field = value;
        SetModified(true);
    }

    std::string outputFolder_;
    std::string setupFileName_;
    std::string setupIconPath_;
    bool createSelfExtractingSetup_ = true;
    Compression compression_ = Compression::Standard;
};

// "standard" or "small", as qsbuild's option and the project file name them (any letter case);
// false for another text.
bool ParseCompression(const std::string& text, Compression& compression);

// The build's three file steps: the product archive, the self-extracting executable, and the
// side-by-side copy into the output folder; and what the programs that they deliver get on
// the way: the project's icon, its version information and the user's signature.
#include "core/Path.h"
#include "pipeline/BuildJob.h"
#include "pipeline/BuildLog.h"
#include "pipeline/ContainerWriter.h"
#include "pipeline/DeflateCompressor.h"
#include "pipeline/ExecutionLevel.h"
#include "pipeline/IconReplacement.h"
#include "pipeline/PackedFile.h"
#include "pipeline/ParallelPacker.h"
#include "pipeline/ProductArchive.h"
#include "model/ProjectPaths.h"
#include "pipeline/VersionResource.h"
#include "pipeline/ZstdCompressor.h"
#include "package/ZipRecords.h"
#include "model/ProjectDocument.h"
#include "model/Variables.h"
#include "platform/File.h"
#include "platform/FileSystem.h"
#include "platform/Process.h"

static constexpr std::uint32_t kRunCommand = 1000;

namespace {
// One entry of the product archive: where its bytes come from, its name inside the archive and
// its name in the build log.
struct ArchiveItem {
    std::string source;
    std::string entryName;
    std::string logName;
    std::string timeSource;  // whose time stamps the entry
};
}  // namespace

// The files are packed ahead on every processor and written in the project's order; the log
// lines follow as each file is written.
void BuildJob::BuildArchive() {
    // The uninstaller is signed before the archive is open: the signing command inherits the
    // open files of the build.
    const std::string uninstaller = settings_.includeUninstaller ? PrepareUninstaller() : std::string();
    ProductArchive archive;
    platform::ClearLastError();
    if (!archive.Open(archivePath_)) {
        Error("Error! Can not create product file archive: setup.zip", archivePath_,
              platform::ErrorText(platform::LastError()));
        return;
    }
    if (settings_.compression == Compression::Small) Log("Compression: small setup (zstd)");
    Log("Adding files to the product file archive setup.zip...");
    std::vector<ArchiveItem> items;
    project_.fileTree.Walk([&](const TreeNode& node) {
        if (const FileItem* file = FileTree::FileOf(&node)) {
            const std::string source = ResolveProjectPath(settings_.projectFolder, file->SourcePath());
            items.push_back({source, FileTree::EntryName(&node), VariableDisplayName(node.Name()), source});
        }
    });
    const std::size_t productFiles = items.size();
    if (settings_.includeUninstaller)
        items.push_back({uninstaller, "uninstall.exe", "uninstall.exe", PrebuiltUninstaller()});
    std::vector<std::string> sources;
    for (const ArchiveItem& item : items) sources.push_back(item.source);
    const EntryMethod method = settings_.compression == Compression::Small ? EntryMethod::Zstd : EntryMethod::Deflated;
    std::unique_ptr<ZstdDictionary> dictionary;
    if (method == EntryMethod::Zstd) dictionary = AddZstdDictionary(archive, sources, productFiles);
    ParallelPacker packer(std::move(sources), EntryCompression(method, dictionary.get()));

    PackedFile packed;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (!Continue()) return;  // a cancelled build adds nothing more; the archive is closed as it is
        if (!packer.Next(packed)) break;
        const ArchiveItem& item = items[i];
        platform::ClearLastError();
        const bool added = packed.state == PackedFile::State::Streamed
                               ? archive.AddFile(item.source, item.entryName, method, item.timeSource)
                               : archive.AddPacked(item.timeSource, item.entryName, packed);
        const int code = platform::LastError();
        packed = PackedFile();
        if (added)
            Log(item.logName + " - OK");
        else
            ErrorReading(item.logName + " - Error", item.source, archivePath_, code);
        if (i < productFiles) log_.Archived(i + 1, archive.BytesRead());
    }
    if (!Continue()) return;
    platform::ClearLastError();
    if (!archive.Close()) {
        Error("Error! Can not write product file archive: setup.zip", archivePath_,
              platform::ErrorText(platform::LastError()));
        return;
    }
    Log("setup.zip - OK");
}

// A small setup's dictionary, learnt from the product's small files and stored first, for the
// installer to have it before any entry that needs it. None when there is too little to learn from.
std::unique_ptr<ZstdDictionary> BuildJob::AddZstdDictionary(ProductArchive& archive,
                                                            const std::vector<std::string>& sources,
                                                            std::size_t productFiles) {
    auto dictionary = std::make_unique<ZstdDictionary>(
        std::vector<std::string>(sources.begin(), sources.begin() + static_cast<std::ptrdiff_t>(productFiles)));
    if (dictionary->Empty()) return nullptr;
    PackedFile packed;
    packed.state = PackedFile::State::Packed;
    packed.data.assign(dictionary->Bytes().begin(), dictionary->Bytes().end());
    packed.size = packed.data.size();
    packed.crc = Crc32(0, packed.data.data(), packed.data.size());
    if (!archive.AddPacked(std::string(), kZstdDictionaryEntry, packed)) {
        Error("Error! Can not write the dictionary of the small setup", archivePath_,
              platform::ErrorText(platform::LastError()));
        return nullptr;
    }
    Log("Dictionary of the small files - OK");
    return dictionary;
}

// The uninstaller as it goes into the archive: a working copy with the project's icon (the one
// the uninstall entry shows) and the product's version information, signed. The prebuilt one when no copy can be made (adding it then says so).
std::string BuildJob::PrebuiltUninstaller() const { return programFolder_ + "\\setup\\_uninstall.exe"; }

std::string BuildJob::PrepareUninstaller() {
    const std::string prebuilt = PrebuiltUninstaller();
    const std::string copy = WorkFile("uninstall.exe");
    if (!CopyFileContents(prebuilt, copy)) return prebuilt;
    CustomizeIcon(copy, "Customize uninstaller icon - OK", "Error! Can not replace uninstaller icon");
    WriteVersion(copy, "uninstall.exe", Described("Uninstall"));
    WriteExecutionLevel(copy, "uninstall.exe");
    Sign(copy, "uninstall.exe");
    return copy;
}

// Why a program produced by the build could not be changed, when it can be read: it is not a
// Windows program with the resources the build writes.
static std::string ProgramProblem(const std::string& program, const std::string& what) {
    const std::string problem = ReadProblem(program);
    return problem.empty() ? "not a Windows program that can take " + what : problem;
}

// Puts the project's icon, when it gives one, into a produced executable.
void BuildJob::CustomizeIcon(const std::string& target, const std::string& okLine, const std::string& errorLine) {
    if (settings_.iconPath.empty()) return;
    if (ReplaceIcon(target, settings_.iconPath)) {
        Log(okLine);
        return;
    }
    spoiled_ = true;
    std::vector<IconFileImage> images;
    const std::string problem = ReadProblem(settings_.iconPath);
    if (!problem.empty())
        Error(errorLine, settings_.iconPath, problem);
    else if (!ReadIconFile(settings_.iconPath, images))
        Error(errorLine, settings_.iconPath, "not an icon file");
    else
        Error(errorLine, target, ProgramProblem(target, "an icon"));
}

// The file description of a program: the product's name and what the program is.
std::string BuildJob::Described(const std::string& what) const {
    const std::string& product = settings_.version.productName;
    return product.empty() ? what : product + " " + what;
}

void BuildJob::WriteVersion(const std::string& target, const std::string& name, const std::string& description) {
    VersionTexts texts = settings_.version;
    texts.fileDescription = description;
    if (SetVersionInfo(target, texts)) return;
    spoiled_ = true;
    Error("Error! Can not write the version information of " + name, target,
          ProgramProblem(target, "version information"));
}

void BuildJob::WriteExecutionLevel(const std::string& target, const std::string& name) {
    if (settings_.scope == ScopeChoice::AllUsers) return;
    const std::string level = ExecutionLevel(settings_.scope);
    if (ExecutionLevelOf(target) == level || SetExecutionLevel(target, level)) return;
    spoiled_ = true;
    Error("Error! Can not set the rights that " + name + " asks for", target, ProgramProblem(target, "a manifest"));
}

// Runs the signing command with "{file}" replaced by the quoted path of `target`. The command's
// output is shown only when it fails, to say why.
void BuildJob::Sign(const std::string& target, const std::string& name) {
    if (signingCommand_.empty()) return;
    const std::string quoted = platform::QuotedArgument(target);
    std::string command = signingCommand_;
    for (const char* placeholder : {"\"{file}\"", "{file}"})
        for (std::size_t at = command.find(placeholder); at != std::string::npos; at = command.find(placeholder, at))
            command.replace(at, std::string(placeholder).size(), quoted), at += quoted.size();
    const std::string output = WorkFile("sign.log");
    const int code = platform::RunCommandLine(command, output);
    if (code == 0) {
        Log("Signing " + name + " - OK");
        RemoveFile(output);
        return;
    }
    spoiled_ = true;
    const std::string reason = code < 0 ? "the signing command cannot be started"
                                        : "the signing command ended with code " + std::to_string(code);
    Error("Error! Can not sign " + name + ": " + reason, target, reason);
    std::string text;
    ReadFileBytes(output, text);
    RemoveFile(output);
    std::size_t start = 0;
    for (int shown = 0; start < text.size() && shown < 20; ++shown) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) Log("  " + line);
        start = end + 1;
    }
}

// A setup of a build that counted errors is removed: it would pass for a finished one, and one
// whose programs lack their icon, version or signature, or whose archive lacks a file, is not.
// True when the setup stays.
bool BuildJob::Deliverable(const std::string& target) {
    if (!spoiled_ && errors_ == 0) return true;
    RemoveFile(target);
    return false;
}

void BuildJob::BuildSelfExtracting() {
    ContainerWriter writer;
    Log("Creating self-extracted executable " + settings_.setupFileName);
    AddToContainer(writer);
    if (!Continue()) return;
    // The working copies live in the build's temporary folder: the builder's own setup folder is
    // read-only when the builder is installed for all users.
    const std::string installer = programFolder_ + "\\setup\\_setup.exe";
    const std::string workingCopy = WorkFile("setup.exe");
    platform::ClearLastError();
    if (CopyFileContents(installer, workingCopy)) {
        CustomizeIcon(workingCopy, "Customize setup icon - OK", "Error! Can not replace setup icon");
        WriteVersion(workingCopy, "setup.exe", Described("Setup"));
        WriteExecutionLevel(workingCopy, "setup.exe");
        Sign(workingCopy, "setup.exe");
    }
    const int code = platform::LastError();
    if (!writer.AddFile(workingCopy))
        ErrorReading("Error! Can not add setup executable to the self-extracted file", installer, workingCopy, code);
    if (Continue()) {
        writer.AddCommand(kRunCommand, "setup.exe");
        if (Continue()) WriteSelfExtracting(writer);
    }
    RemoveFile(workingCopy);
}

// A file that reads and is still refused is too large for the container's 32-bit sizes.
void BuildJob::AddToContainer(ContainerWriter& writer) {
    const auto add = [&](const std::string& path, const std::string& errorLine) {
        if (path == scriptPath_ ? AddScript(writer) : writer.AddFile(path)) return;
        std::string problem = ReadProblem(path);
        std::uint64_t size = 0;
        File file;
        if (problem.empty() && file.Open(path, ReadExisting) && file.GetSize64(size))
            problem = SingleFileTooLarge(NameOf(path), size);
        Error(errorLine, path, problem);
    };
    add(scriptPath_, "Error! Can not add setup.ini to the self-extracted file");
    if (Continue()) add(archivePath_, "Error! Can not add setup.zip to the self-extracted file");
    if (Continue() && settings_.splash)
        add(settings_.splashPath, "Error! Can not add splash bitmap to the self-extracted file");
    if (Continue() && settings_.license)
        add(settings_.licensePath, "Error! Can not add license file to the self-extracted file");
    if (Continue() && settings_.readme)
        add(settings_.readmePath, "Error! Can not add readme file to the self-extracted file");
    if (!Continue()) return;
    for (const std::string& language : settings_.languages)
        add(programFolder_ + "\\LanguageSets\\Setup\\" + language + ".dat",
            "Error! Can not add language file " + language + " to the self-extracted file");
}

// A small setup holds its script as one zstd frame, which the installer unpacks as it reads it:
// the script of a product with many files is as large as a fair share of the product's texts.
// A script that would not shrink, or that cannot be packed, goes in as it is.
bool BuildJob::AddScript(ContainerWriter& writer) {
    if (settings_.compression != Compression::Small) return writer.AddFile(scriptPath_);
    std::uint64_t size = 0, packedSize = 0;
    {
        File file;
        if (!file.Open(scriptPath_, ReadExisting) || !file.GetSize64(size)) return writer.AddFile(scriptPath_);
    }
    const std::string packed = WorkFile("setup.ini.packed");
    if (PackFileAsFrame(scriptPath_, packed, packedSize) && packedSize < size) {
        packedCopies_.push_back(packed);
        return writer.AddFile(packed, "setup.ini");
    }
    RemoveFile(packed);
    return writer.AddFile(scriptPath_);
}

// A container that could not be written completely is an error and is not left behind, since a
// truncated setup program in the output folder would be taken for a finished one. The stub gets
// its icon and version before the container is appended (both change its length); the setup is
// signed last, after its checksum, which leaves out what a signature changes.
void BuildJob::WriteSelfExtracting(ContainerWriter& writer) {
    const std::string& name = settings_.setupFileName;
    const std::string target = settings_.outputFolder + "\\" + name;
    const std::string prebuiltStub = programFolder_ + "\\setup\\_sfx.exe";
    const std::string stub = WorkFile("stub.exe");
    if (CopyFileContents(prebuiltStub, stub)) {
        CustomizeIcon(stub, "Customize self-extracted file icon - OK", "Error! Can not replace self-extracted file icon");
        WriteVersion(stub, name, Described("Setup"));
        WriteExecutionLevel(stub, name);
    }
    if (spoiled_) {
        RemoveFile(stub);
        Deliverable(target);
        return;
    }
    platform::ClearLastError();
    const int written = writer.WriteContainer(stub, target, nullptr, 4);
    int code = platform::LastError();
    RemoveFile(stub);
    if (written != kContainerWritten) {
        RemoveFile(target);
        ErrorReading("Error! Can not create self-extracted file " + name, prebuiltStub, target, code);
        return;
    }
    platform::ClearLastError();
    if (!StampChecksum(target)) {
        code = platform::LastError();
        RemoveFile(target);
        Error("Error! Can not write the checksum of self-extracted file " + name, target, platform::ErrorText(code));
        return;
    }
    Sign(target, name);
    if (Deliverable(target)) Log(name + " - OK");
}

// A failed copy is logged with `errorLine`, naming the source when it cannot be read and the
// target otherwise.
bool BuildJob::CopyOne(const std::string& source, const std::string& target, const std::string& errorLine) {
    platform::ClearLastError();
    if (!platform::CopyFileTo(source, target)) {
        ErrorReading(errorLine, source, target, platform::LastError());
        return false;
    }
    platform::SetArchiveAttribute(target);
    return true;
}

// Copies a file of the installer's screens into the output folder under its own name.
void BuildJob::CopyBeside(const std::string& source, const std::string& folder, const std::string& okText,
                          const std::string& errorText) {
    const std::string name = NameOf(source);
    if (CopyOne(source, folder + name, errorText + name)) Log(okText + name + " - OK");
}

void BuildJob::CopyToOutput() {
    Log("Copying files to the output directory");
    std::string folder = settings_.outputFolder;
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    if (settings_.splash) {
        CopyBeside(settings_.splashPath, folder, "splash bitmap file ", "Error! Can not copy splash bitmap file: ");
        if (!Continue()) return;
    }
    if (settings_.license)
        CopyBeside(settings_.licensePath, folder, "license file ", "Error! can not copy license file: ");
    if (!Continue()) return;
    if (settings_.readme)
        CopyBeside(settings_.readmePath, folder, "readme file ", "Error! Can not copy readme file: ");
    if (!Continue()) return;
    for (const std::string& language : settings_.languages) {
        if (!Continue()) return;
        if (CopyOne(programFolder_ + "\\LanguageSets\\Setup\\" + language + ".dat", folder + language + ".dat",
                    "Error! Can not copy language file: " + language + ".dat"))
            Log("language file " + language + " - OK");
    }
    const std::string& name = settings_.setupFileName;
    if (!CopyOne(programFolder_ + "\\setup\\_setup.exe", folder + name, "Error! Can not copy setup executable file: " + name))
        return;
    Log("Setup executable file " + name + " - OK");
    // A stopped build leaves no installer without its icon, version or signature.
    if (!Continue()) {
        RemoveFile(folder + name);
        return;
    }
    CustomizeIcon(folder + name, "Customize setup icon - OK", "Error! Can not replace setup icon");
    if (!spoiled_) WriteVersion(folder + name, name, Described("Setup"));
    if (!spoiled_) WriteExecutionLevel(folder + name, name);
    if (!spoiled_) Sign(folder + name, name);
    Deliverable(folder + name);
}

// The build's three file steps: the product archive, the self-extracting executable, and the
// side-by-side copy into the output folder.
#include "core/Path.h"
#include "pipeline/BuildJob.h"
#include "pipeline/BuildLog.h"
#include "pipeline/ContainerWriter.h"
#include "pipeline/IconReplacement.h"
#include "pipeline/ProductArchive.h"
#include "pipeline/ProjectPaths.h"
#include "model/ProjectDocument.h"
#include "model/Variables.h"
#include "platform/File.h"
#include "platform/FileSystem.h"

static constexpr int kCompressionLevel = 6;
static constexpr std::uint32_t kRunCommand = 1000;

void BuildJob::BuildArchive() {
    ProductArchive archive;
    if (!archive.Open(archivePath_)) {
        Error("Error! Can not create product file archive: setup.zip");
        return;
    }
    Log("Adding files to the product file archive setup.zip...");
    std::uint64_t packed = 0;
    project_.fileTree.Walk([&](const TreeNode& node) {
        const FileItem* file = FileTree::FileOf(&node);
        if (!file || !Continue()) return;  // a cancelled walk adds nothing more
        const std::string name = VariableDisplayName(node.Name());
        if (archive.AddFile(ResolveProjectPath(settings_.projectFolder, file->SourcePath()), FileTree::EntryName(&node),
                            kCompressionLevel))
            Log(name + " - OK");
        else
            Error(name + " - Error");
        log_.Archived(++packed, archive.BytesRead());
    });
    if (!Continue()) return;
    if (settings_.includeUninstaller) {
        if (archive.AddFile(programFolder_ + "\\setup\\_uninstall.exe", "uninstall.exe", kCompressionLevel))
            Log("uninstall.exe - OK");
        else
            Error("uninstall.exe - Error");
    }
    if (!archive.Close()) {
        Error("Error! Can not write product file archive: setup.zip");
        return;
    }
    Log("setup.zip - OK");
}

// Puts the project's icon, when it gives one, into a produced executable.
void BuildJob::CustomizeIcon(const std::string& target, const std::string& okLine, const std::string& errorLine) {
    if (settings_.iconPath.empty()) return;
    if (ReplaceIcon(target, settings_.iconPath))
        Log(okLine);
    else
        Error(errorLine);
}

void BuildJob::BuildSelfExtracting() {
    ContainerWriter writer;
    Log("Creating self-extracted executable " + settings_.setupFileName);
    AddToContainer(writer);
    if (!Continue()) return;
    // The working copy of the installer lives in the build's temporary folder: the builder's own
    // setup folder is read-only when the builder is installed for all users.
    const std::string workingCopy = (workFolder_.empty() ? platform::TempFolder() : workFolder_) + "\\setup.exe";
    CopyFileContents(programFolder_ + "\\setup\\_setup.exe", workingCopy);
    CustomizeIcon(workingCopy, "Customize setup icon - OK", "Error! Can not replace setup icon");
    if (!writer.AddFile(workingCopy)) Error("Error! Can not add setup executable to the self-extracted file");
    if (Continue()) {
        writer.AddCommand(kRunCommand, "setup.exe");
        if (Continue()) WriteSelfExtracting(writer);
    }
    RemoveFile(workingCopy);
}

void BuildJob::AddToContainer(ContainerWriter& writer) {
    if (!writer.AddFile(scriptPath_)) Error("Error! Can not add setup.ini to the self-extracted file");
    if (Continue() && !writer.AddFile(archivePath_))
        Error("Error! Can not add setup.zip to the self-extracted file");
    if (Continue() && settings_.splash && !writer.AddFile(settings_.splashPath))
        Error("Error! Can not add splash bitmap to the self-extracted file");
    if (Continue() && settings_.license && !writer.AddFile(settings_.licensePath))
        Error("Error! Can not add license file to the self-extracted file");
    if (Continue() && settings_.readme && !writer.AddFile(settings_.readmePath))
        Error("Error! Can not add readme file to the self-extracted file");
    if (!Continue()) return;
    for (const std::string& language : settings_.languages) {
        if (!writer.AddFile(programFolder_ + "\\LanguageSets\\Setup\\" + language + ".dat"))
            Error("Error! Can not add language file " + language + " to the self-extracted file");
    }
}

// A container that could not be written completely is an error and is not left behind, since a
// truncated setup program in the output folder would be taken for a finished one.
void BuildJob::WriteSelfExtracting(ContainerWriter& writer) {
    const std::string& name = settings_.setupFileName;
    const std::string target = settings_.outputFolder + "\\" + name;
    if (writer.WriteContainer(programFolder_ + "\\setup\\_sfx.exe", target, nullptr, 4) != kContainerWritten) {
        RemoveFile(target);
        Error("Error! Can not create self-extracted file " + name);
        return;
    }
    CustomizeIcon(target, "Customize self-extracted file icon - OK", "Error! Can not replace self-extracted file icon");
    const std::uint32_t checksum = FileChecksum(target);
    const unsigned char bytes[4] = {static_cast<unsigned char>(checksum), static_cast<unsigned char>(checksum >> 8),
                                    static_cast<unsigned char>(checksum >> 16), static_cast<unsigned char>(checksum >> 24)};
    if (!WriteReserved(target, bytes, sizeof bytes)) {
        RemoveFile(target);
        Error("Error! Can not write the checksum of self-extracted file " + name);
        return;
    }
    Log(name + " - OK");
}

bool BuildJob::CopyOne(const std::string& source, const std::string& target) {
    if (!platform::CopyFileTo(source, target)) return false;
    platform::SetArchiveAttribute(target);
    return true;
}

// Copies a file of the installer's screens into the output folder under its own name.
void BuildJob::CopyBeside(const std::string& source, const std::string& folder, const std::string& okText,
                          const std::string& errorText) {
    const std::string name = NameOf(source);
    if (CopyOne(source, folder + name))
        Log(okText + name + " - OK");
    else
        Error(errorText + name);
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
        if (CopyOne(programFolder_ + "\\LanguageSets\\Setup\\" + language + ".dat", folder + language + ".dat"))
            Log("language file " + language + " - OK");
        else
            Error("Error! Can not copy language file: " + language + ".dat");
    }
    const std::string& name = settings_.setupFileName;
    if (CopyOne(programFolder_ + "\\setup\\_setup.exe", folder + name))
        Log("Setup executable file " + name + " - OK");
    else
        Error("Error! Can not copy setup executable file: " + name);
    if (Continue()) CustomizeIcon(folder + name, "Customize setup icon - OK", "Error! Can not replace setup icon");
}

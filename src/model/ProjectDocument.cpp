#include "model/ProjectDocument.h"

#include "profile/ScriptBuilder.h"
#include "core/Exception.h"
#include "core/Path.h"
#include "core/Text.h"
#include "lang/UiTextSource.h"
#include "model/ProjectFileCheck.h"
#include "profile/ProfileText.h"
#include "platform/File.h"

// Numbers the titles of new projects for the life of the process.
static int newProjectCounter = 1;

ProjectDocument::ProjectDocument(const UiTextSource& texts) : texts_(texts) {
    builderInfo.AttachTo(*this);
    generalInfo.AttachTo(*this);
    setupInfo.AttachTo(*this);
    systemRequirements.AttachTo(*this);
    fileTree.AttachTo(*this);
    shortcutTree.AttachTo(*this);
    registryTree.AttachTo(*this);
    fileTypes.AttachTo(*this);
    installerScreens.AttachTo(*this);
    outputSettings.AttachTo(*this);
}

bool ProjectDocument::New() {
    DocumentBase::New();
    form_ = TextForm::Utf8;
    formChanged_ = false;
    SetDefaults();
    SetTitle(texts_.UiText(TextKeys::kNewProjectWord) + "-" + std::to_string(newProjectCounter));
    ++newProjectCounter;
    return true;
}

void ProjectDocument::SetDefaults() {
    builderInfo.SetDefaults();
    generalInfo.SetDefaults(texts_);
    setupInfo.SetDefaults(texts_);
    systemRequirements.SetDefaults();
    fileTree.Reset();
    shortcutTree.Reset();
    registryTree.Reset();
    fileTypes.SetDefaults();
    installerScreens.SetDefaults();
    outputSettings.SetDefaults();
}

void ProjectDocument::ClearAll() {
    readFindings_.clear();
    generalInfo.Clear();
    setupInfo.Clear();
    fileTree.Clear();
    shortcutTree.Clear();
    registryTree.Clear();
    fileTypes.Clear();
    installerScreens.Clear();
    outputSettings.Clear();
}

// The file is checked before the sections read it: a file that is no project is refused before
// anything changes, and what the sections would pass over silently is kept as findings. The
// bytes then become the profile text where they lie, so loading holds the file once.
bool ProjectDocument::DoLoad(const std::string& path) {
    std::string bytes;
    if (!ReadFileBytes(path, bytes)) throw FileException(path);
    std::vector<std::string> findings = CheckProjectText(bytes, NameOf(path));
    const ProfileText project = ProfileText::FromBytes(std::move(bytes));
    form_ = project.Form();
    formChanged_ = false;
    readFindings_ = std::move(findings);
    SetDefaults();
    builderInfo.Load(project);
    generalInfo.Load(project);
    setupInfo.Load(project);
    systemRequirements.Load(project);
    installerScreens.Load(project);
    outputSettings.Load(project);
    fileTree.Load(project);
    shortcutTree.Load(project);
    registryTree.Load(project);
    fileTypes.Load(project);
    SetPath(path);
    return true;
}

bool ProjectDocument::SaveSections(File& file) const {
    bool ok = builderInfo.Save(file);
    ok &= generalInfo.Save(file);
    ok &= setupInfo.Save(file);
    ok &= systemRequirements.Save(file);
    ok &= installerScreens.Save(file);
    ok &= outputSettings.Save(file);
    ok &= fileTree.Save(file);
    ok &= shortcutTree.Save(file);
    ok &= registryTree.Save(file);
    ok &= fileTypes.Save(file);
    return ok;
}

namespace {

// A path of a file that the build reads, for a project saved from the folder `from` (empty for a
// new project) into another folder `to`: relative to `to` where the file lies below it, so that
// the folder, checked into version control, builds wherever it is checked out; in full
// elsewhere. Either way it names the same file.
std::string RebasedPath(const std::string& path, const std::string& from, const std::string& to) {
    const bool rooted = IsRootedPath(path);
    if (path.empty() || (!rooted && from.empty())) return path;
    const std::string full = rooted ? path : JoinPath(from, path);
    const std::string below = PathBelow(to, full);
    return below.empty() ? full : below;
}

}  // namespace

// The paths that the build reads are rebased to the folder of `path`; a failed save puts them back.
void ProjectDocument::RebasePaths(const std::string& from, const std::string& to) {
    if (!from.empty() && EqualNoCase(from, to)) return;  // saved where it was: as the user wrote them
    const auto rebase = [&](const std::string& path) { return RebasedPath(path, from, to); };
    fileTree.MapSourcePaths(rebase);
    for (std::string* screenPath :
         {&installerScreens.splashBitmapPath, &installerScreens.licensePath, &installerScreens.readmePath})
        *screenPath = rebase(*screenPath);
    outputSettings.SetSetupIconPath(rebase(outputSettings.SetupIconPath()));
}

// The new text goes to a temporary file beside the project and replaces the old file only when
// all of it was written, so a failed save never loses the project that was there.
bool ProjectDocument::DoSave(const std::string& path) {
    const std::string from = FolderOf(Path()), to = FolderOf(path);
    RebasePaths(from, to);
    const std::string temporary = path + ".saving~";
    File file;
    bool written = file.Open(temporary, CreateWrite) && SaveSections(file);
    written = file.Close() != 0 && written && WriteInForm(temporary);
    if (!written || !platform::MoveFileReplacing(temporary, path)) {
        RemoveFile(temporary);
        RebasePaths(to, from.empty() ? std::string() : from);
        throw FileException(path);
    }
    SetPath(path);
    return true;
}

// The sections write UTF-8; a text beyond ASCII is put into the project's form afterwards.
bool ProjectDocument::WriteInForm(const std::string& path) {
    std::string text;
    if (!ReadFileBytes(path, text)) return false;
    if (IsAscii(text)) return true;
    const TextForm before = form_;
    const std::string bytes = EncodeText(text, form_);
    if (form_ != before) formChanged_ = true;
    return WriteFileBytes(path, bytes);
}

void ProjectDocument::Export(ScriptBuilder& script) const {
    builderInfo.Export(script);
    generalInfo.Export(script);
    setupInfo.Export(script);
    systemRequirements.Export(script);
    installerScreens.Export(script);
    fileTree.Export(script);
    shortcutTree.Export(script);
    registryTree.Export(script);
    fileTypes.Export(script);
}

void ProjectWizardData::Assign(std::string& field, const std::string& text) {
    if (field == text) return;
    field = text;
    SetModifiedFlag(true);
}

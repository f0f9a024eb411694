#include "model/ProjectDocument.h"

#include "profile/ScriptBuilder.h"
#include "core/Exception.h"
#include "core/Path.h"
#include "core/Text.h"
#include "lang/UiTextSource.h"
#include "model/ProjectFileCheck.h"
#include "profile/LineSink.h"
#include "profile/ProfileText.h"
#include "platform/File.h"

// Numbers the titles of new projects for the life of the process.
static int newProjectCounter = 1;

namespace {

// Marks the document as inside an edit for the life of the scope.
class EditingScope {
public:
    explicit EditingScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~EditingScope() { flag_ = false; }
    EditingScope(const EditingScope&) = delete;
    EditingScope& operator=(const EditingScope&) = delete;

private:
    bool& flag_;
};

}  // namespace

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
    edits_.Clear();
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
    edits_.Clear();
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

bool ProjectDocument::DoLoad(const std::string& path) {
    // A file that changed while it was read is read again, as a whole.
    return Load(path, true) || Load(path, false);
}

// The file is checked before the sections read it: a file that is no project is refused before
// anything changes, and what the sections would pass over silently is kept as findings. The
// bytes then become the profile text where they lie, so loading holds the file once. The product
// files, most of a large project, are read from the file itself a block at a time when its text
// needs no decoding, after the rest: the file's text and the tree made of it are never held in
// memory together.
bool ProjectDocument::Load(const std::string& path, bool filesFromFile) {
    std::string bytes;
    if (!ReadFileBytes(path, bytes)) throw FileException(path);
    std::vector<std::string> findings = CheckProjectText(bytes, NameOf(path));
    const bool streamFiles = filesFromFile && IsPlainProfileText(bytes);
    const TextStamp stamp = streamFiles ? StampOf(bytes) : TextStamp();
    const ProfileText project = streamFiles ? ProfileText::FromBytes(std::move(bytes), FileTree::kSection)
                                            : ProfileText::FromBytes(std::move(bytes));
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
    if (!streamFiles) fileTree.Load(project);
    shortcutTree.Load(project);
    registryTree.Load(project);
    fileTypes.Load(project);
    auto loadFileLine = [&](const std::string& line) { fileTree.LoadLine(line); };
    if (streamFiles && !ForEachFileSectionLine(path, FileTree::kSection, stamp, loadFileLine)) return false;
    SetPath(path);
    edits_.Clear();
    return true;
}

bool ProjectDocument::SaveSections(File& file) const {
    FileLineSink out(file);
    bool ok = builderInfo.Save(out);
    ok &= generalInfo.Save(out);
    ok &= setupInfo.Save(out);
    ok &= systemRequirements.Save(out);
    ok &= installerScreens.Save(out);
    ok &= outputSettings.Save(out);
    ok &= fileTree.Save(out);
    ok &= shortcutTree.Save(out);
    ok &= registryTree.Save(out);
    ok &= fileTypes.Save(out);
    return ok;
}

std::string ProjectDocument::PartLines(ProjectPart part) const {
    TextLineSink out;
    switch (part) {
        case kGeneralInfoPart: generalInfo.Save(out); break;
        case kSetupInfoPart: setupInfo.Save(out); break;
        case kRequirementsPart: systemRequirements.Save(out); break;
        case kFilesPart: fileTree.Save(out); break;
        case kShortcutsPart: shortcutTree.Save(out); break;
        case kRegistryPart: registryTree.Save(out); break;
        case kFileTypesPart: fileTypes.Save(out); break;
        case kScreensPart: installerScreens.Save(out); break;
        case kOutputPart: outputSettings.Save(out); break;
    }
    return out.TakeText();
}

// A part is emptied and read back exactly as Open reads it from a file.
void ProjectDocument::RestorePart(ProjectPart part, const std::string& lines) {
    const ProfileText project = ProfileText::FromBytes(lines);
    switch (part) {
        case kGeneralInfoPart:
            generalInfo.Clear();
            generalInfo.SetDefaults(texts_);
            generalInfo.Load(project);
            break;
        case kSetupInfoPart:
            setupInfo.Clear();
            setupInfo.SetDefaults(texts_);
            setupInfo.Load(project);
            break;
        case kRequirementsPart:
            systemRequirements.SetDefaults();
            systemRequirements.Load(project);
            break;
        case kFilesPart:
            fileTree.Reset();
            fileTree.Load(project);
            break;
        case kShortcutsPart:
            shortcutTree.Reset();
            shortcutTree.Load(project);
            break;
        case kRegistryPart:
            registryTree.Reset();
            registryTree.Load(project);
            break;
        case kFileTypesPart:
            fileTypes.Clear();
            fileTypes.Load(project);
            break;
        case kScreensPart:
            installerScreens.Clear();
            installerScreens.SetDefaults();
            installerScreens.Load(project);
            break;
        case kOutputPart:
            outputSettings.Clear();
            outputSettings.SetDefaults();
            outputSettings.Load(project);
            break;
    }
}

ProjectEdit* ProjectDocument::Apply(ProjectEdit edit, const std::function<void()>& change) {
    // An edit made while another runs (a dialog's field inside a page's command) is part of it.
    if (editing_) {
        change();
        return nullptr;
    }
    ProjectEdit* target = edits_.MergeTarget(edit.MergeKey(), edit.Parts());
    std::vector<std::pair<ProjectPart, std::string>> before;
    if (!target) {
        for (ProjectParts bit = 1; bit & kAllParts; bit <<= 1)
            if (edit.Parts() & bit) before.emplace_back(static_cast<ProjectPart>(bit), PartLines(static_cast<ProjectPart>(bit)));
    }
    {
        EditingScope scope(editing_);
        change();
    }
    if (!target) {
        // Only the parts that really changed are kept; an edit without any is no edit.
        for (auto& [part, lines] : before)
            if (PartLines(part) != lines) edit.Keep(part, std::move(lines));
        if (edit.Kept().empty()) return nullptr;
        edits_.Push(std::move(edit));
        target = edits_.Top();
    }
    SetModifiedFlag(!edits_.AtSavedState());
    Announce(ProjectChange::Done, *target);
    return target;
}

void ProjectDocument::Swap(ProjectEdit& edit) {
    EditingScope scope(editing_);
    const size_t oldBytes = edit.Bytes();
    for (auto& [part, lines] : edit.Kept()) {
        std::string current = PartLines(part);
        RestorePart(part, lines);
        lines = std::move(current);
    }
    edits_.Resize(oldBytes, edit.Bytes());
}

bool ProjectDocument::Undo() {
    if (!edits_.CanUndo()) return false;
    ProjectEdit& edit = edits_.StepBack();
    Swap(edit);
    SetModifiedFlag(!edits_.AtSavedState());
    Announce(ProjectChange::Undone, edit);
    return true;
}

bool ProjectDocument::Redo() {
    if (!edits_.CanRedo()) return false;
    ProjectEdit& edit = edits_.StepForward();
    Swap(edit);
    SetModifiedFlag(!edits_.AtSavedState());
    Announce(ProjectChange::Redone, edit);
    return true;
}

void ProjectDocument::Announce(ProjectChange::Kind kind, const ProjectEdit& edit) {
    if (changeListener_) changeListener_(ProjectChange{kind, edit});
}

// A change that bypassed Apply cannot be undone, and undoing an earlier edit of its part would
// silently take it back: the history ends there.
void ProjectDocument::SectionChanged() {
    if (!editing_) {
        edits_.Clear();
        edits_.ForgetSavedState();
    }
    DocumentBase::SectionChanged();
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
    bool changed = false;
    const auto rebase = [&](const std::string& path) {
        std::string rebased = RebasedPath(path, from, to);
        changed |= rebased != path;
        return rebased;
    };
    {
        EditingScope scope(editing_);
        fileTree.MapSourcePaths(rebase);
        for (std::string* screenPath :
             {&installerScreens.splashBitmapPath, &installerScreens.licensePath, &installerScreens.readmePath})
            *screenPath = rebase(*screenPath);
        outputSettings.SetSetupIconPath(rebase(outputSettings.SetupIconPath()));
    }
    // The edits keep the paths as they were written for the old folder: undoing one now would
    // bring back paths that name other files.
    if (changed) edits_.Clear();
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

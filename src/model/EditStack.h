#pragma once
// The edits of a project that can be undone and redone.
//
// An edit keeps, for every part of the project it changes, that part's lines in the project
// file's form from the other side of the change: before it while it is done, after it while it
// is undone. Undoing or redoing swaps those lines with the part's current state, so an edit is
// one object whichever way it last went, and a round trip is exact to the byte.
//
// The stack counts positions from the first edit ever pushed since the last Clear, so that
// dropping the oldest edits keeps the position of the saved state.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <utility>
#include <vector>

// The parts of a project an edit can change, one bit each.
enum ProjectPart : std::uint32_t {
    kGeneralInfoPart = 1u << 0,
    kSetupInfoPart = 1u << 1,
    kRequirementsPart = 1u << 2,
    kFilesPart = 1u << 3,
    kShortcutsPart = 1u << 4,
    kRegistryPart = 1u << 5,
    kFileTypesPart = 1u << 6,
    kScreensPart = 1u << 7,
    kOutputPart = 1u << 8,
};
using ProjectParts = std::uint32_t;
constexpr ProjectParts kAllParts = (1u << 9) - 1;

class ProjectEdit {
public:
    // `mergeKey`, when not empty, lets the next edit with the same key and parts join this one
    // (typing in one field) until the stack is told that the merging ends.
    ProjectEdit(std::string name, ProjectParts parts, std::string mergeKey = {})
        : name_(std::move(name)), parts_(parts), mergeKey_(std::move(mergeKey)) {}

    // What the user sees: "Add Shortcut", "Delete 3 Files".
    const std::string& Name() const { return name_; }
    ProjectParts Parts() const { return parts_; }
    const std::string& MergeKey() const { return mergeKey_; }
    // Where the editor selects the changed item when the edit is undone or redone (an index
    // path in a tree, a row of a list); the model only keeps it.
    const std::string& Selection() const { return selection_; }
    void SetSelection(std::string selection) { selection_ = std::move(selection); }

    // The lines of one part from the other side of the change.
    void Keep(ProjectPart part, std::string lines) { kept_.emplace_back(part, std::move(lines)); }
    std::vector<std::pair<ProjectPart, std::string>>& Kept() { return kept_; }
    // The bytes the edit holds, for the stack's bound.
    size_t Bytes() const;

private:
    std::string name_;
    ProjectParts parts_;
    std::string mergeKey_;
    std::string selection_;
    std::vector<std::pair<ProjectPart, std::string>> kept_;
};

class EditStack {
public:
    static constexpr size_t kMaxEdits = 1000;
    static constexpr size_t kMaxBytes = 64u << 20;

    explicit EditStack(size_t maxEdits = kMaxEdits, size_t maxBytes = kMaxBytes)
        : maxEdits_(maxEdits), maxBytes_(maxBytes) {}

    // Adds a done edit on top, forgets every undone edit and drops the oldest beyond the bounds
    // (never the one pushed).
    void Push(ProjectEdit edit);
    // The edit that typing with `mergeKey` in `parts` may join: the top one, when merging was not
    // ended since, it has that key and parts, and the saved state is not the top (a save ends
    // every merge, or undo could never return to what was saved). Null otherwise.
    ProjectEdit* MergeTarget(const std::string& mergeKey, ProjectParts parts);
    void EndMerge() { mergeOpen_ = false; }

    bool CanUndo() const { return !done_.empty(); }
    bool CanRedo() const { return !undone_.empty(); }
    // The edit that Undo or Redo would take; null when there is none.
    const ProjectEdit* NextUndo() const { return done_.empty() ? nullptr : &done_.back(); }
    const ProjectEdit* NextRedo() const { return undone_.empty() ? nullptr : &undone_.back(); }
    // Moves the top edit to the other list and returns it for the document to swap its parts;
    // only when CanUndo / CanRedo.
    ProjectEdit& StepBack();
    ProjectEdit& StepForward();
    // The last done edit; null when there is none.
    ProjectEdit* Top() { return done_.empty() ? nullptr : &done_.back(); }
    // The bytes of an edit changed while it was swapped.
    void Resize(size_t oldBytes, size_t newBytes) { bytes_ = bytes_ - oldBytes + newBytes; }

    // The current state is the saved one.
    void MarkSaved() { saved_ = Position(); }
    bool AtSavedState() const { return saved_ == Position(); }
    // A change that no edit recorded: no position of the stack is the saved state any more.
    void ForgetSavedState() { saved_ = kNowhere; }
    // Empties both lists; the current state counts as saved.
    void Clear();

    size_t Count() const { return done_.size() + undone_.size(); }
    size_t Bytes() const { return bytes_; }

private:
    static constexpr size_t kNowhere = SIZE_MAX;
    size_t Position() const { return dropped_ + done_.size(); }
    void DropOldest();

    size_t maxEdits_;
    size_t maxBytes_;
    std::deque<ProjectEdit> done_;      // oldest first
    std::vector<ProjectEdit> undone_;   // the next to redo last
    size_t dropped_ = 0;
    size_t saved_ = 0;
    size_t bytes_ = 0;
    bool mergeOpen_ = false;
};

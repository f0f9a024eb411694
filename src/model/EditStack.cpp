#include "model/EditStack.h"

size_t ProjectEdit::Bytes() const {
    size_t bytes = sizeof(ProjectEdit) + name_.size() + mergeKey_.size() + selection_.size();
    for (const auto& part : kept_) bytes += sizeof(part) + part.second.size();
    return bytes;
}

void EditStack::Push(ProjectEdit edit) {
    if (saved_ > Position()) saved_ = kNowhere;  // the saved state was among the undone edits
    for (const ProjectEdit& undone : undone_) bytes_ -= undone.Bytes();
    undone_.clear();
    bytes_ += edit.Bytes();
    done_.push_back(std::move(edit));
    mergeOpen_ = !done_.back().MergeKey().empty();
    while (done_.size() > 1 && (done_.size() > maxEdits_ || bytes_ > maxBytes_)) DropOldest();
}

void EditStack::DropOldest() {
    bytes_ -= done_.front().Bytes();
    done_.pop_front();
    ++dropped_;
}

ProjectEdit* EditStack::MergeTarget(const std::string& mergeKey, ProjectParts parts) {
    if (!mergeOpen_ || mergeKey.empty() || done_.empty() || AtSavedState()) return nullptr;
    ProjectEdit& top = done_.back();
    return top.MergeKey() == mergeKey && top.Parts() == parts ? &top : nullptr;
}

ProjectEdit& EditStack::StepBack() {
    mergeOpen_ = false;
    undone_.push_back(std::move(done_.back()));
    done_.pop_back();
    return undone_.back();
}

ProjectEdit& EditStack::StepForward() {
    mergeOpen_ = false;
    done_.push_back(std::move(undone_.back()));
    undone_.pop_back();
    return done_.back();
}

void EditStack::Clear() {
    done_.clear();
    undone_.clear();
    dropped_ = saved_ = bytes_ = 0;
    mergeOpen_ = false;
}

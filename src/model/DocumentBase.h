#pragma once
// The New / Open / Save / Save As protocol over a modified flag, a path and a title.
#include <functional>
#include <string>

class DocumentBase {
    friend class Section;

public:
    virtual ~DocumentBase() = default;

    // Both refuse with ModelException while the document holds unsaved changes.
    virtual bool New();
    virtual bool Open(const std::string& path);
    // Writes only when modified.
    virtual bool Save();
    virtual bool SaveAs(const std::string& path);

    bool IsModified() const { return modified_; }
    // Sets or clears the flag (the main window clears it when the user declines to save).
    void SetModifiedFlag(bool modified) { modified_ = modified; }
    const std::string& Path() const { return path_; }
    const std::string& Title() const { return title_; }

    // The path; the title follows from its last part without a three-letter extension.
    void SetPath(const std::string& path);
    void SetTitle(const std::string& title);
    // Called whenever the title changes, so the window showing it can refresh its caption.
    void SetTitleListener(std::function<void()> listener) { titleListener_ = std::move(listener); }

protected:
    virtual void ClearAll() {}
    virtual bool DoLoad(const std::string&) { return true; }
    virtual bool DoSave(const std::string&) { return true; }
    // After a save wrote the document.
    virtual void Saved() {}
    // A section changed outside any recorded edit.
    virtual void SectionChanged() { modified_ = true; }

private:
    void TitleChanged();

    bool modified_ = false;
    std::string path_;
    std::string title_;
    std::function<void()> titleListener_;
};

// A part of a document that marks it modified when edited.
class Section {
public:
    void AttachTo(DocumentBase& document) { document_ = &document; }
    // True tells the document of a change; false never clears the mark.
    void SetModified(bool flag) {
        if (flag && document_) document_->SectionChanged();
    }

protected:
    DocumentBase* document_ = nullptr;
};

#include "model/DocumentBase.h"

#include "core/Exception.h"
#include "core/Path.h"
#include "core/Text.h"

bool DocumentBase::New() {
    if (modified_) throw ModelException();
    ClearAll();
    path_.clear();
    title_.clear();
    TitleChanged();
    modified_ = false;
    return true;
}

bool DocumentBase::Open(const std::string& path) {
    if (modified_) throw ModelException();
    ClearAll();
    modified_ = true;
    bool result = DoLoad(path);
    modified_ = false;
    return result;
}

bool DocumentBase::Save() {
    if (!modified_) return true;
    bool result = DoSave(path_);
    modified_ = false;
    Saved();
    return result;
}

bool DocumentBase::SaveAs(const std::string& path) {
    bool result = DoSave(path);
    modified_ = false;
    Saved();
    return result;
}

void DocumentBase::SetPath(const std::string& path) {
    if (EqualNoCase(path, path_)) return;
    path_ = path;
    std::string title = NameOf(path);
    if (title.size() >= 4 && title[title.size() - 4] == '.') title.resize(title.size() - 4);
    title_ = title;
    TitleChanged();
}

void DocumentBase::SetTitle(const std::string& title) {
    if (EqualNoCase(title, title_)) return;
    title_ = title;
    TitleChanged();
}

void DocumentBase::TitleChanged() {
    if (titleListener_) titleListener_();
}

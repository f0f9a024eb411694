#include "model/FileTypes.h"

#include <algorithm>
#include <initializer_list>

#include "core/Text.h"
#include "profile/ProfileText.h"
#include "model/SectionLines.h"

static const char kHeader[] = "[FILE_TYPES]";

// A record is one line of fields separated by ","; a text holding a "," or a CR LF would come
// back from the project file as other fields or other lines. (A lone CR or LF is kept as a byte.)
static bool FitsInLine(std::initializer_list<const std::string*> texts) {
    for (const std::string* text : texts)
        if (text->find(',') != std::string::npos || text->find("\r\n") != std::string::npos) return false;
    return true;
}

std::string FileTypeRecord::Line() const {
    return extension + "," + identifier + "," + fullName + "," + programPath + "," + iconPath + "," +
           std::to_string(iconNumber);
}

FileTypeRecord FileTypeRecord::Offered(const std::string& extension) {
    const std::string stem = extension.substr(std::min(extension.find_first_not_of('.'), extension.size()));
    FileTypeRecord record;
    record.extension = extension;
    record.identifier = stem + ".Document";
    record.fullName = stem + " Document";
    return record;
}

void FileTypeList::Clear() {
    records_.clear();
    extensions_.clear();
}

void FileTypeList::Load(const ProfileText& project) {
    ForEachLine(project, "FILE_TYPES", [this](const std::string& line) {
        std::string fields[5];
        size_t start = 0;
        for (std::string& field : fields) {
            size_t comma = line.find(',', start);
            if (comma == std::string::npos) return;  // fewer than five ","
            field = line.substr(start, comma - start);
            start = comma + 1;
        }
        Add(fields[0], fields[1], fields[2], fields[3], fields[4], ReadLeadingInt(line.substr(start)), true);
    });
}

static Lines RecordLines(const std::vector<std::unique_ptr<FileTypeRecord>>& records) {
    Lines lines;
    lines.reserve(records.size());
    for (const auto& record : records) lines.push_back(record->Line());
    return lines;
}

bool FileTypeList::Save(LineSink& out) const { return WriteSection(out, kHeader, RecordLines(records_)); }

void FileTypeList::Export(ScriptBuilder& script) const { AddLines(script, kHeader, RecordLines(records_)); }

FileTypeRecord* FileTypeList::Add(const std::string& extension, const std::string& identifier,
                                  const std::string& fullName, const std::string& programPath,
                                  const std::string& iconPath, std::int32_t iconNumber, bool markModified) {
    if (!FitsInLine({&extension, &identifier, &fullName, &programPath, &iconPath})) return nullptr;
    int& count = extensions_[LowerCase(extension)];
    if (count > 0) return nullptr;
    ++count;
    records_.push_back(std::make_unique<FileTypeRecord>(
        FileTypeRecord{extension, identifier, fullName, programPath, iconPath, iconNumber}));
    SetModified(markModified);
    return records_.back().get();
}

FileTypeRecord* FileTypeList::FindByExtension(const std::string& extension) const {
    if (extensions_.count(LowerCase(extension)) == 0) return nullptr;
    for (const auto& record : records_)
        if (EqualNoCase(record->extension, extension)) return record.get();
    return nullptr;
}

FileTypeRecord* FileTypeList::GetAt(size_t index) const {
    return index < records_.size() ? records_[index].get() : nullptr;
}

void FileTypeList::Forget(const std::string& extension) {
    auto it = extensions_.find(LowerCase(extension));
    if (it != extensions_.end() && --it->second == 0) extensions_.erase(it);
}

bool FileTypeList::RemoveAt(size_t index) {
    if (index >= records_.size()) return false;
    Forget(records_[index]->extension);
    records_.erase(records_.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

bool FileTypeList::Update(size_t index, const std::string& extension, const std::string& identifier,
                          const std::string& fullName, const std::string& programPath,
                          const std::string& iconPath, std::int32_t iconNumber, bool markModified) {
    if (index >= records_.size() || !FitsInLine({&extension, &identifier, &fullName, &programPath, &iconPath}))
        return false;
    FileTypeRecord& record = *records_[index];
    Forget(record.extension);
    ++extensions_[LowerCase(extension)];
    record = FileTypeRecord{extension, identifier, fullName, programPath, iconPath, iconNumber};
    SetModified(markModified);
    return true;
}

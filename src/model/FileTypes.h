#pragma once
// [FILE_TYPES]: the document types that the installed product registers. The project file and
// setup.ini hold the same line per type.
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/DocumentBase.h"

class LineSink;
class ProfileText;
class ScriptBuilder;

struct FileTypeRecord {
    std::string extension;
    std::string identifier;
    std::string fullName;
    std::string programPath;
    std::string iconPath;
    std::int32_t iconNumber = 0;

    // The record's line in both files: the six fields joined by ",".
    std::string Line() const;
    // A new type's offer for `extension` (".abc"): the identifier "abc.Document" and the full
    // name "abc Document", both named after the extension without its leading dots.
    static FileTypeRecord Offered(const std::string& extension);
};

class FileTypeList : public Section {
public:
    void SetDefaults() { Clear(); }
    void Clear();
    // Reads the lines in order; each added with the modified mark, duplicates dropped.
    void Load(const ProfileText& project);
    bool Save(LineSink& out) const;
    // An empty list adds nothing, so the script then has no [FILE_TYPES].
    void Export(ScriptBuilder& script) const;

    // Appends a record; nothing (and no change) when the extension is there in any letter case,
    // or when a text holds a "," or a CR LF, which would split the record's line.
    FileTypeRecord* Add(const std::string& extension, const std::string& identifier, const std::string& fullName,
                        const std::string& programPath, const std::string& iconPath, std::int32_t iconNumber,
                        bool markModified);
    FileTypeRecord* FindByExtension(const std::string& extension) const;
    FileTypeRecord* GetAt(size_t index) const;
    size_t Count() const { return records_.size(); }
    // Does not mark the document: the page that deletes marks it.
    bool RemoveAt(size_t index);
    // Replaces every field without a duplicate check (the editor never changes an extension);
    // false, changing nothing, when there is no such record or a text holds "," or a CR LF.
    bool Update(size_t index, const std::string& extension, const std::string& identifier,
                const std::string& fullName, const std::string& programPath, const std::string& iconPath,
                std::int32_t iconNumber, bool markModified);

private:
    void Forget(const std::string& extension);

    std::vector<std::unique_ptr<FileTypeRecord>> records_;
    // How many records hold each extension in small letters, so that Add stays fast on long
    // lists. Update may bring a second record with the same extension, hence a count.
    std::unordered_map<std::string, int> extensions_;
};

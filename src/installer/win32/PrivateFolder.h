#pragma once
// A working folder under the temporary folder for files that an elevated program runs or reads:
// a name nobody can guess, an access list of only this user, SYSTEM and the administrators
// (nothing inherited from the temporary folder), and its files held open against writing,
// renaming and deleting from the moment they are checked until the folder goes.
#include <windows.h>

#include <string>
#include <vector>

class PrivateFolder {
public:
    PrivateFolder() = default;
    // Closes what it holds and removes the folder with everything in it.
    ~PrivateFolder();
    PrivateFolder(const PrivateFolder&) = delete;
    PrivateFolder& operator=(const PrivateFolder&) = delete;

    // Makes the folder below `parent`, named `prefix` and 32 random hex digits; false when
    // none can be made (an existing folder is never taken).
    bool Create(const std::string& parent, const std::string& prefix);
    const std::string& Path() const { return path_; }

    // Opens the file `name` of the folder for reading and shares it for reading only: from now
    // on nobody can write, rename or delete it, and programs can still run or read it. False
    // when someone else has it open for writing.
    bool Hold(const std::string& name);
    // Lets go of the folder without removing it, for a program that runs from it and removes it
    // itself; closes what it holds.
    void Release();

private:
    std::string path_;
    HANDLE folder_ = INVALID_HANDLE_VALUE;  // held too, so that the folder cannot be renamed away
    std::vector<HANDLE> files_;
};

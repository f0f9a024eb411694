// Until the language layer offers its own discovery: the language sets of one folder.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/Text.h"

bool DiscoverLanguages(const std::string& folder, std::vector<std::string>& list) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name.size() >= 5 &&
                EqualNoCase(name.substr(name.size() - 4), ".dat"))
                list.push_back(name.substr(0, name.size() - 4));
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    std::sort(list.begin(), list.end());
    return !list.empty();
}

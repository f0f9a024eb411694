#pragma once
// What the sections of a project cannot read in a project file, found before they read it: the
// sections ignore lines and sections they do not know, so without this check a damaged or
// mistyped project would silently build another product.
#include <string>
#include <vector>

// The findings about the raw bytes of a project file called `fileName`, each a sentence that
// names the file and the line ("Demo.qsp line 87: unknown key Fiel= in [APPLICATION_FILES]"), in
// file order; at most kMostFindings of them and then one that counts the rest. A file that is no
// project at all (empty, binary, UTF-16 or UTF-32 text, none of the project's sections) raises
// ProjectFormatException with a sentence saying what it holds.
std::vector<std::string> CheckProjectText(const std::string& bytes, const std::string& fileName);

constexpr std::size_t kMostFindings = 50;

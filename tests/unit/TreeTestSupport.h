#pragma once
// Helpers for the tests of the destination tree sections.
#include <string>

#include "TestSupport.h"
#include "model/DocumentBase.h"
#include "profile/ProfileText.h"

// A tree attached to a document of its own, reset as for a new project.
template <class Tree>
struct TreeUnderTest {
    DocumentBase document;
    Tree tree;
    TreeUnderTest() {
        tree.AttachTo(document);
        tree.Reset();
    }
    // Loads `lines` given as the body of `section` (CR LF added to each "\n").
    void Load(const std::string& section, std::string lines) {
        for (size_t at = lines.find('\n'); at != std::string::npos; at = lines.find('\n', at + 2))
            lines.insert(at, "\r");
        tree.Load(ProfileText::FromBytes("[" + section + "]\r\n" + lines));
    }
};

#pragma once
// The verification of a setup: in a private Wine prefix it installs silently, records what
// changed, uninstalls silently and records what is left; with an older setup it installs that
// one first, and the new one over it; with the project it compares what was installed with
// what the project says. What it finds is a list of findings: a clean setup has none.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "verify/Expectations.h"
#include "verify/ShellLinkReader.h"

struct VerifyStep {
    std::string name;     // "install", "install old", "install over old", "uninstall"
    std::string command;  // the program and its switches, in Windows form
    bool started = false;
    int exitCode = -1;
    double seconds = 0;
};

struct InstalledFile {
    std::string path;
    std::uint64_t size = 0;
    std::string sha256;
};

struct InstalledShortcut {
    std::string path;
    bool internet = false;
    std::string url;    // of an internet shortcut
    ShellLinkData link; // of a .lnk
    bool targetExists = false;
};

struct InstalledValue {
    std::string key, name, type, data;
};

struct InstalledFileType {
    std::string extension, identifier, description, openCommand;
};

struct VerifyFinding {
    std::string kind;     // a fixed word: "missing-file", "left-file", ... (README lists them)
    std::string subject;  // the path, key or value concerned
    std::string detail;   // one sentence for people
};

struct VerifyResult {
    std::string setup, oldSetup, project, wine;
    std::vector<VerifyStep> steps;
    // After the installation (of both setups, with an older one): what was not there before.
    std::vector<InstalledFile> files;
    std::vector<std::string> folders;
    std::vector<InstalledShortcut> shortcuts;
    std::vector<InstalledValue> values;  // every value added or changed
    std::vector<std::string> keys;       // every key added
    std::vector<InstalledFileType> fileTypes;
    std::string uninstallKey;
    std::vector<InstalledValue> uninstallEntry;
    // After the uninstallation: what is there that was not before (Wine's own writes aside).
    std::vector<std::string> leftFiles, leftFolders, leftKeys;
    std::vector<InstalledValue> leftValues;
    int allowed = 0;  // changes of Wine's own, which the allow-list names
    std::vector<VerifyFinding> findings;
    bool ran = false;    // false: it could not run; `problem` says why
    std::string problem;
};

struct VerifyRequest {
    std::string setup;     // the setup program, in the system's form
    std::string oldSetup;  // an older setup to install first; empty for none
    const ProjectDocument* project = nullptr;  // what the setup should install; may be null
    std::string wine;      // WineSession::FindWine()
    std::function<void(const std::string&)> progress;
    // Asked between the steps: true stops the verification (the prefix is removed all the same).
    std::function<bool()> stopped;
};

VerifyResult Verify(const VerifyRequest& request);

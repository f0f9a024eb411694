#pragma once
// The switches of the installer programs. The spellings that administrators already script
// with other installers are accepted beside the short ones, in any letter case.
#include <cstdint>
#include <string>
#include <vector>

#include "scope/InstallScope.h"

struct InstallerOptions {
    bool silent = false;         // /S, /SILENT, /VERYSILENT: no window at all
    bool suppressBoxes = false;  // /SUPPRESSMSGBOXES: questions take their default answer
    bool help = false;           // /? or /HELP
    bool allowDowngrade = false; // /ALLOWDOWNGRADE: replace a newer installed version
    bool closeApplications = false;  // /CLOSEAPPLICATIONS: close the programs that hold files to replace
    std::string folder;          // /D= or /DIR=: the installation folder
    std::string language;        // /LANG=
    std::string logPath;         // /LOG=: a readable log of every action
    std::string cleanup;         // /_CLEANUP=: internal, the uninstaller's copy that removes the original
    std::string archive;         // /_ARCHIVE=: internal, where the stub's package holds setup.zip
    bool allUsers = false;       // /ALLUSERS: install for every user of the computer
    bool currentUser = false;    // /CURRENTUSER: install only for the user who runs the setup
    bool restarted = false;      // /_RESTARTED: internal, started again to gain administrator rights
    // /_ANSWERED: internal, the run that started this one again has shown the screens before the
    // scope screen and the user went on past them (the licence accepted): they are not shown again.
    bool screensAnswered = false;
    std::vector<std::string> unknown;
    // Chosen on the installer's screens: the program group in place of the script's, and the
    // registered owner kept in the uninstall entry. The owner's name and company are handed to a
    // run started again with rights as /_USER= and /_COMPANY=.
    std::string group;
    std::string userName, company;
    // Decided once when the installation starts (see DecideScope), from the project's choice, the
    // switches above and the user's answer.
    InstallScope scope = InstallScope::AllUsers;
};

// The command line without the program name that opens it (quoted or not).
std::string ArgumentsAfterProgram(const std::string& commandLine);

// A value switch takes a quoted value, or everything up to the next switch or the end, so that
// /D=C:\Program Files\Demo works unquoted anywhere on the line. Inside a quoted value two
// quotes stand for one.
InstallerOptions ParseInstallerArguments(const std::string& arguments);

// The arguments that ParseInstallerArguments reads back as `options`: every switch that is set,
// each value quoted (its quotes doubled). Words that are no switch and /? are left out.
std::string InstallerArguments(const InstallerOptions& options);
// One value switch as InstallerArguments writes it: /NAME="value".
std::string QuotedSwitch(const std::string& name, const std::string& value);

// Where setup.zip lies inside the self-extracting package. The stub hands it to the installer as
// /_ARCHIVE="OFFSET,SIZE,PATH" rather than copying the archive out, and the installer reads the
// archive where it lies.
struct ArchiveLocation {
    std::string path;
    std::uint64_t offset = 0;
    std::uint64_t size = 0;
};

// The switch, with a blank before it, that the stub adds to the installer's arguments.
std::string ArchiveSwitch(const ArchiveLocation& location);
// False when `value` is not two decimal numbers and a path, separated by commas.
bool ParseArchiveLocation(const std::string& value, ArchiveLocation& location);

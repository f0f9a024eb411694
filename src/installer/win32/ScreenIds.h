#pragma once
// The control ids of the installer's and the uninstaller's screens. Tests and accessibility tools
// find the controls by them, so they stay fixed.
#include <windows.h>

enum ScreenId {
    kIdNext = IDOK,  // Enter presses Next
    kIdCancel = IDCANCEL,  // Esc presses Cancel
    kIdBack = 1000,
    kIdTitle = 1001,
    kIdSubtitle = 1002,
    kIdBody = 1003,
    kIdLanguageList = 1010,
    kIdLicenseText = 1020,
    kIdAccept = 1021,
    kIdDecline = 1022,
    kIdReadmeText = 1030,
    kIdUserName = 1040,
    kIdCompany = 1041,
    kIdFolder = 1050,
    kIdBrowse = 1051,
    kIdSpaceRequired = 1052,
    kIdSpaceAvailable = 1053,
    kIdInstalledHere = 1054,
    kIdGroup = 1060,
    kIdGroupList = 1061,
    kIdSummary = 1070,
    kIdStatus = 1080,
    kIdProgress = 1081,
    kIdViewReadme = 1090,
    kIdRunApplication = 1091,
    kIdScopeAllUsers = 1100,
    kIdScopeCurrentUser = 1101,
    kIdScopeShield = 1102,
    kIdScopeNote = 1103,
    kIdProgramsInUse = 1110,
    kIdCloseAutomatically = 1111,
    kIdDoNotClose = 1112,
    kIdRetry = 1113,
};

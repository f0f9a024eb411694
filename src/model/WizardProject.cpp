#include "model/WizardProject.h"

#include <string>

#include "core/Path.h"
#include "model/ProjectDocument.h"
#include "platform/FileSystem.h"
#include "platform/FolderScanner.h"

namespace {

const char kAppDir[] = "%DestComp%\\%AppDir%\\";

// Adds every entry of the product folder; a recursive walk hands out each folder before its
// contents, so every folder exists before its files arrive. Entries that the tree refuses (a
// second entry of the same name in one folder) are skipped.
WizardFiles AddProductFolder(FileTree& tree, const std::string& folder, bool recursive) {
    WizardFiles added;
    if (folder.empty()) {
        added.problem = WizardFiles::NoFolder;
        return added;
    }
    FolderScanner scanner;
    if (!scanner.Start(folder, recursive)) {
        added.problem = platform::IsFolder(folder) ? WizardFiles::Unreadable : WizardFiles::Missing;
        return added;
    }
    for (auto name = scanner.First(); name; name = scanner.Next()) {
        const std::string relative = scanner.RelativeFolder();
        const std::string destination = kAppDir + (relative.empty() ? "" : relative + "\\") + *name;
        if (scanner.IsFolder()) {
            if (tree.AddFolder(destination, true)) ++added.folders;
        } else if (tree.AddProductFile(destination, JoinPath(scanner.CurrentFolder(), *name), 1, 0, true)) {
            ++added.files;
        }
    }
    scanner.Finish();
    return added;
}

}  // namespace

WizardFiles CreateWizardProject(ProjectDocument& project, const ProjectWizardData& answers) {
    project.New();
    GeneralInfo& info = project.generalInfo;
    info.SetCompanyName(answers.CompanyName());
    info.SetProductName(answers.ProductName());
    info.SetProductVersion(answers.ProductVersion());
    info.SetProductDescription(answers.ProductDescription());
    info.SetProductUrl(answers.ProductWebAddress());
    info.SetCopyrightNotice(answers.CopyrightNotice());
    project.setupInfo.SetScope(answers.scope, false);
    // Beside the project file wherever it is saved, so that the project's folder builds anywhere.
    project.outputSettings.SetOutputFolder(kWizardOutputFolder);
    // The wizard asks for the copyright notice in full ("Copyright (C) 2027 Acme"): the setup
    // window's footer shows it as given, without the company a second time, and the title names
    // the product.
    InstallerScreens& screens = project.installerScreens;
    screens.Set(&ScreenSettings::windowTitle, std::string(kWizardWindowTitle));
    ScreenText footer = screens.footer;
    footer.text = kWizardFooter;
    screens.Set(&ScreenSettings::footer, footer);
    return AddProductFolder(project.fileTree, answers.FilesFolder(), answers.scanOption);
}

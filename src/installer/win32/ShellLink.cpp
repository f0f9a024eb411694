#include "installer/win32/ShellLink.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "installer/win32/Com.h"

bool SaveShellLink(const ShellLinkFields& fields, const std::string& linkPath) {
    ComPtr<IShellLinkA> link;
    ComPtr<IPersistFile> file;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(link.Out()))))
        return false;
    link->SetPath(fields.target.c_str());
    link->SetArguments(fields.arguments.c_str());
    link->SetWorkingDirectory(fields.workingFolder.c_str());
    link->SetShowCmd(fields.showCommand);
    if (!fields.iconPath.empty()) link->SetIconLocation(fields.iconPath.c_str(), fields.iconIndex);
    if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Out())))) return false;
    return SUCCEEDED(file->Save(Wide(linkPath).c_str(), TRUE));
}

#include "installer/win32/ShellLink.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

namespace {

std::wstring Wide(const std::string& text) {
    int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(n > 0 ? n : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], n);
    wide.resize(wide.size() - 1);
    return wide;
}

// Holds a COM interface and releases it.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() {
        if (p_) p_->Release();
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    T** Out() { return &p_; }
    T* operator->() const { return p_; }

private:
    T* p_ = nullptr;
};

}  // namespace

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

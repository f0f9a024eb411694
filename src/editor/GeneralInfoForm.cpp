#include "editor/Forms.h"
#include "model/ProjectDocument.h"
#include "resource.h"

GeneralInfoForm::GeneralInfoForm(HWND, void* context) : Form(context) {
    GeneralInfo& info = Project().generalInfo;
    auto bind = [&](int id, const std::string& (GeneralInfo::*get)() const,
                    void (GeneralInfo::*set)(const std::string&)) {
        binder_.BindText(id, [&info, get] { return (info.*get)(); },
                         [&info, set](const std::string& text) { (info.*set)(text); });
    };
    bind(IDC_COMPANY_NAME, &GeneralInfo::CompanyName, &GeneralInfo::SetCompanyName);
    bind(IDC_PRODUCT_NAME, &GeneralInfo::ProductName, &GeneralInfo::SetProductName);
    bind(IDC_PRODUCT_VERSION, &GeneralInfo::ProductVersion, &GeneralInfo::SetProductVersion);
    bind(IDC_PRODUCT_DESCRIPTION, &GeneralInfo::ProductDescription, &GeneralInfo::SetProductDescription);
    bind(IDC_PRODUCT_URL, &GeneralInfo::ProductUrl, &GeneralInfo::SetProductUrl);
    bind(IDC_COPYRIGHT_NOTICE, &GeneralInfo::CopyrightNotice, &GeneralInfo::SetCopyrightNotice);
}

bool GeneralInfoForm::OnInitDialog(HWND dialog) {
    for (int line = 0; line < 6; ++line)
        SetDlgItemTextA(dialog, IDC_GENERAL_INFO_LABEL1 + line, Text(TextKeys::kGeneralInfoTab[line]).c_str());
    binder_.Fill(dialog);
    SetFocus(GetDlgItem(dialog, IDC_COMPANY_NAME));
    return false;
}

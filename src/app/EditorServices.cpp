#include "app/EditorServices.h"

#include "app/Application.h"
#include "app/Help.h"
#include "app/MainWindow.h"
#include "app/Settings.h"
#include "commands/CommandTable.h"

ProjectDocument* EditorServices::Project() const { return main_.Project(); }
const LanguageSets& EditorServices::Texts() const { return main_.Texts(); }
WindowDpi EditorServices::Dpi() const { return main_.Dpi(); }
HFONT EditorServices::Font() const { return main_.Font(); }
HINSTANCE EditorServices::ResourceInstance() const { return main_.ResourceInstance(); }
void EditorServices::ShowHelp(UINT command, ULONG_PTR data) const { ::ShowHelp(main_.Handle(), command, data); }
void EditorServices::SetStatusText(const std::string& text) const { main_.StatusBar().SetText(text); }

std::string EditorServices::ApplicationTitle() const { return ::ApplicationTitle(); }
bool EditorServices::SaveProject() const { return main_.SaveProject(); }
int EditorServices::SplitPosition() const { return main_.SplitPosition(); }
void EditorServices::SetSplitPosition(int percent) const { main_.SetSplitPosition(percent); }
std::string EditorServices::SigningCommand() const { return LoadSigningCommand(); }
bool EditorServices::IsCommandEnabled(unsigned command) const {
    const Command* row = FindCommand(command);
    return row && ::IsEnabled(*row, main_.TakeCommandState());
}
CommandState EditorServices::CommandStateNow() const { return main_.TakeCommandState(); }
void EditorServices::UpdateCommandStates() const { main_.UpdateCommandStates(); }
SetupPresence& EditorServices::Setup() const { return main_.Setup(); }

#pragma once
// The editor's context as the main window provides it: its project, status bar, Save command,
// texts, resources, help and the pages' split position.
#include "editor/EditorContext.h"

class MainWindow;

class EditorServices : public EditorContext {
public:
    explicit EditorServices(MainWindow& main) : main_(main) {}

    ProjectDocument* Project() const override;
    const LanguageSets& Texts() const override;
    WindowDpi Dpi() const override;
    HFONT Font() const override;
    HINSTANCE ResourceInstance() const override;
    void ShowHelp(UINT command, ULONG_PTR data) const override;
    void SetStatusText(const std::string& text) const override;
    std::string ApplicationTitle() const override;
    bool SaveProject() const override;
    int SplitPosition() const override;
    void SetSplitPosition(int percent) const override;
    std::string SigningCommand() const override;
    bool IsCommandEnabled(unsigned command) const override;
    CommandState CommandStateNow() const override;
    void UpdateCommandStates() const override;
    SetupPresence& Setup() const override;

private:
    MainWindow& main_;
};

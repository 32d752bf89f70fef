#include "ui/form1.h"

#include <algorithm>

#include "base/error.h"
#include "ui/folders.h"
#include "ui/texts.h"

std::wstring TDirectoryEdit::DialogStart() const {
    const std::wstring& start = text.empty() ? initialDir : text;
    return start.empty() || !IsDirectory(start) ? L"\\" : start;
}

void TFileListBox::SetDirectory(const std::wstring& folder) {
    if (folder.empty() || SameTextIgnoringCase(folder, directory_))
        return;
    if (const unsigned long error = SetWorkingDirectory(folder))
        RaiseIoError(error);
    // The working directory's own spelling: a full path, whatever form `folder` had.
    directory_ = CurrentDirectory();
    items_ = ListLibraryFiles(directory_);
    std::sort(items_.begin(), items_.end(),
              [](const std::wstring& a, const std::wstring& b) { return LessIgnoringCase(a, b); });
    itemIndex = -1;
    ++revision_;
}

std::wstring TFileListBox::FileName() const {
    if (itemIndex < 0 || size_t(itemIndex) >= items_.size())
        return {};
    return JoinPath(directory_, items_[size_t(itemIndex)]);
}

TForm1::TForm1(Desktop& desktop, Operations operations)
    : desktop_(desktop), operations_(std::move(operations)) {
    // The list starts on the folder the process started in.
    fileListBox1.SetDirectory(CurrentDirectory());
}

void TForm1::FormCreate() {
    ProgramFolder = FolderOfPath(ExecutablePath());
    SimulatorFolder = operations_.locateSimulatorFolder();
    directoryEdit1.initialDir = SimulatorFolder;
    directoryEdit1.text = SimulatorFolder;
    SetWorkingDirectory(SimulatorFolder); // an empty or missing folder is no error here
    fileListBox1.SetDirectory(SimulatorFolder);
    desktop_.ProcessMessages();
}

// Also after Cancel, `name` is the dialog's start folder and becomes the simulator folder.
void TForm1::DirectoryEdit1AfterDialog(const std::wstring& name, bool& /*action*/) {
    SimulatorFolder = name;
    SetWorkingDirectory(SimulatorFolder);
    fileListBox1.SetDirectory(SimulatorFolder);
    desktop_.ProcessMessages();
}

void TForm1::Button1Click() {
    const std::wstring path = fileListBox1.FileName();
    label1Caption = path;
    switch (operations_.replaceSceneryConfiguration(SimulatorFolder, path)) {
    case ReplaceOutcome::TargetMissing:
        desktop_.ShowErrorMessage(kWrongFolderText);
        break;
    case ReplaceOutcome::Replaced:
        // One replacement per run: nothing enables the button again.
        label1Caption = kDoneText;
        button1Enabled = false;
        break;
    }
}

void TForm1::FormClose() {
    SetWorkingDirectory(ProgramFolder);
}

void TForm1::DirectoryEdit1ButtonClick() {
    const std::wstring start = directoryEdit1.DialogStart();
    const std::optional<std::wstring> chosen = desktop_.SelectDirectory(start);
    std::wstring name = chosen.value_or(start);
    bool action = chosen.has_value();
    DirectoryEdit1AfterDialog(name, action);
    if (action) {
        directoryEdit1.text = name;
        if (IsDirectory(name))
            directoryEdit1.initialDir = name;
    }
}

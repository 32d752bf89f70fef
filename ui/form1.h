#pragma once

#include <functional>
#include <string>
#include <vector>

#include "scenery/replace.h"
#include "ui/desktop.h"

// The folder field: a text and the folder its dialog falls back on.
struct TDirectoryEdit {
    std::wstring text = L"DirectoryEdit1";
    std::wstring initialDir;

    // Where the dialog opens: the text, else the initial folder, else "\" (the current drive's
    // root) when that is empty too or names no existing folder.
    std::wstring DialogStart() const;
};

// The list of the "*.cbi" files of one folder, sorted without regard to case.
class TFileListBox {
public:
    // Shows `folder` and makes it the working directory. The folder already shown and empty text
    // change nothing; a folder that does not exist raises an I/O error and changes nothing.
    void SetDirectory(const std::wstring& folder);
    const std::wstring& Directory() const { return directory_; }
    const std::vector<std::wstring>& Items() const { return items_; }
    // Counts the re-readings, so that the window knows when to refill its control.
    unsigned Revision() const { return revision_; }

    int itemIndex = -1; // the selected entry, -1 for none
    // The selected file as a full path, empty when nothing is selected.
    std::wstring FileName() const;

private:
    std::wstring directory_;
    std::vector<std::wstring> items_;
    unsigned revision_ = 0;
};

// The work the window hands on: folder discovery and the replacement of scenery.cfg.
struct Operations {
    std::function<std::wstring()> locateSimulatorFolder;
    std::function<ReplaceOutcome(const std::wstring& folder, const std::wstring& sourcePath)>
        replaceSceneryConfiguration;
};

// The main window's state and its event handlers, without the window: Form1Window shows this
// state in real controls and routes their events here.
class TForm1 {
public:
    TForm1(Desktop& desktop, Operations operations);

    void FormCreate();
    void DirectoryEdit1AfterDialog(const std::wstring& name, bool& action);
    void Button1Click();
    void FormClose();

    // The folder field's browse button and Alt+Down: runs the dialog and raises OnAfterDialog.
    void DirectoryEdit1ButtonClick();

    TDirectoryEdit directoryEdit1;
    TFileListBox fileListBox1;
    bool button1Enabled = true;
    std::wstring label1Caption = L"Label1";

private:
    Desktop& desktop_;
    Operations operations_;
};

inline constexpr wchar_t kDoneText[] = L"DONE!!! , original file saved as scenery.old";
inline constexpr wchar_t kWrongFolderText[] = L"Wrong FS Folder";

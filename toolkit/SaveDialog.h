// AskSaveFileName: the system's standard "Save As" dialog for one kind of
// file. Modal; the owner's timers and other windows go on meanwhile.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace tk {

struct SaveDialogOptions {
    std::wstring FileName;        // proposed, without folder
    std::wstring Folder;          // where the dialog opens
    std::wstring FilterName;      // "CSV files (*.csv)"
    std::wstring Pattern;         // "*.csv"
    std::wstring DefaultExtension; // "csv", added when the user types none
};

// The full path chosen, or nothing when the user cancels. An existing file
// is only chosen after the user has agreed to replace it.
std::optional<std::wstring> AskSaveFileName(HWND owner, const SaveDialogOptions& options);

// The folder part of a path, without the final separator.
std::wstring FolderOf(const std::wstring& path);

} // namespace tk

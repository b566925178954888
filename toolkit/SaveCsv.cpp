#include "toolkit/SaveCsv.h"

#include <optional>
#include <stdexcept>

#include "toolkit/SaveDialog.h"
#include "toolkit/WinFileSystem.h"

namespace tk {

void WriteWholeFile(const std::wstring& path, const FileMaker& produce)
{
    WinFileSystem fs;
    try {
        SafeReplace(fs, path, produce);
    } catch (const SafeReplaceError& e) {
        throw std::runtime_error("Cannot save " + AnsiText(path) + ": " + e.Reason());
    }
}

bool SaveCsvAs(HWND owner, const std::wstring& fileName, std::wstring& folder, const FileMaker& produce)
{
    SaveDialogOptions options;
    options.FileName = fileName;
    options.Folder = folder.empty() ? ModuleFolder() : folder;
    options.FilterName = L"CSV files (*.csv)";
    options.Pattern = L"*.csv";
    options.DefaultExtension = L"csv";
    const std::optional<std::wstring> path = AskSaveFileName(owner, options);
    if (!path)
        return false;
    folder = FolderOf(*path);
    WriteWholeFile(*path, produce);
    return true;
}

} // namespace tk

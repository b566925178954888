// "Save as CSV…" from the dialog to the file: the standard Save As dialog
// for CSV files, opened in the folder chosen last (the program's folder at
// first), then the file made beside its target and put in its place only
// once whole. GUI thread only.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "toolkit/SafeReplace.h"

namespace tk {

using FileMaker = std::function<void(const ByteSink& sink)>;

// Throws std::runtime_error "Cannot save <path>: <reason>"; the file at
// `path` is then as it was.
void WriteWholeFile(const std::wstring& path, const FileMaker& produce);

// False when the user cancels. `folder` keeps the folder chosen for the
// next time. The file is made after the dialog closes, so it holds what
// there is by then. Throws as WriteWholeFile does.
bool SaveCsvAs(HWND owner, const std::wstring& fileName, std::wstring& folder, const FileMaker& produce);

} // namespace tk

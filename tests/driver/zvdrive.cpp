// zvdrive: the test driver for scripts.
//   zvdrive close-main [SECONDS]  closes the program's main window and waits
//                                 for the program to end; exits with its exit
//                                 code (2: no main window, 3: still running).
//   zvdrive windows               lists every top-level window: pid, class,
//                                 visibility and title.
//   zvdrive click NAME            clicks the windowless control NAME of the
//                                 main window (2: no main window, 4: no such
//                                 control).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tests/driver/Driver.h"

namespace {

constexpr const char* kMainClass = "TFormMain";

int CloseMain(int seconds)
{
    HWND main = FindWindowA(kMainClass, nullptr);
    if (!main) {
        std::fprintf(stderr, "zvdrive: no %s window\n", kMainClass);
        return 2;
    }
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, zvdrive::ProcessOf(main));
    zvdrive::Close(main);
    if (!process || WaitForSingleObject(process, static_cast<DWORD>(seconds) * 1000) != WAIT_OBJECT_0) {
        std::fprintf(stderr, "zvdrive: the program did not end within %d s\n", seconds);
        return 3;
    }
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    CloseHandle(process);
    std::printf("exit code %lu\n", static_cast<unsigned long>(code));
    return static_cast<int>(code);
}

BOOL CALLBACK PrintWindow(HWND window, LPARAM)
{
    std::printf("%5lu %-24s %s \"%s\"\n", static_cast<unsigned long>(zvdrive::ProcessOf(window)),
                zvdrive::ClassOf(window).c_str(), IsWindowVisible(window) ? "visible" : "hidden ",
                zvdrive::TextOf(window).c_str());
    return TRUE;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc >= 2 && std::strcmp(argv[1], "close-main") == 0)
        return CloseMain(argc >= 3 ? std::atoi(argv[2]) : 10);
    if (argc >= 2 && std::strcmp(argv[1], "windows") == 0) {
        EnumWindows(PrintWindow, 0);
        return 0;
    }
    if (argc >= 3 && std::strcmp(argv[1], "click") == 0) {
        HWND main = FindWindowA(kMainClass, nullptr);
        if (!main)
            return 2;
        return zvdrive::ClickGraphic(main, argv[2]) ? 0 : 4;
    }
    std::fprintf(stderr, "usage: zvdrive close-main [SECONDS] | windows | click NAME\n");
    return 64;
}

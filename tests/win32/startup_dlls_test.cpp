// Tornevo.exe loads at start no DLL that the start-up benchmark's floor does not (a bare
// window of the same standard controls, manifest and JPEG), but for the few named below.
// Each program runs until it first waits for input, its first paint done; then the DLLs
// it has loaded are listed and it is closed. Not timed: what is loaded is what costs.
//
//   startup_dlls_test Tornevo.exe floor.exe logo.jpg

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cwctype>
#include <map>
#include <set>
#include <string>

namespace {

// The DLLs Tornevo.exe may load at start though the floor does not, each with its reason.
const std::map<std::wstring, const char*> Allowed = {};

BOOL CALLBACK CloseWindowOf(HWND window, LPARAM process)
{
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == DWORD(process))
        PostMessageW(window, WM_CLOSE, 0, 0);
    return TRUE;
}

// The DLLs the program has loaded once it is idle after its start, in lower case; empty
// if it did not start.
std::set<std::wstring> LoadedAtStart(std::wstring commandLine)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION program{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &program))
        return {};
    std::set<std::wstring> names;
    HMODULE modules[512];
    DWORD bytes = 0;
    if (WaitForInputIdle(program.hProcess, 60000) == 0
        && EnumProcessModules(program.hProcess, modules, sizeof modules, &bytes)) {
        // The first module is the program itself.
        for (DWORD i = 1; i < bytes / sizeof(HMODULE) && i < std::size(modules); ++i) {
            wchar_t name[MAX_PATH] = {};
            GetModuleBaseNameW(program.hProcess, modules[i], name, MAX_PATH);
            std::wstring lower(name);
            for (wchar_t& c : lower)
                c = wchar_t(std::towlower(c));
            names.insert(lower);
        }
    }
    EnumWindows(CloseWindowOf, LPARAM(program.dwProcessId));
    if (WaitForSingleObject(program.hProcess, 10000) != WAIT_OBJECT_0)
        TerminateProcess(program.hProcess, 1);
    CloseHandle(program.hThread);
    CloseHandle(program.hProcess);
    return names;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 4)
        return 2;
    const auto quoted = [](const wchar_t* path) { return L"\"" + std::wstring(path) + L"\""; };
    const std::set<std::wstring> tornevo = LoadedAtStart(quoted(argv[1]));
    const std::set<std::wstring> floor = LoadedAtStart(quoted(argv[2]) + L" " + argv[3]);
    int failures = tornevo.empty() || floor.empty(); // a program that did not start
    for (const auto& [what, names] : {std::pair{"Tornevo.exe", tornevo}, std::pair{"the floor", floor}}) {
        std::printf("%s loads %zu DLLs at start:", what, names.size());
        for (const std::wstring& name : names)
            std::printf(" %ls", name.c_str());
        std::printf("\n");
    }
    for (const std::wstring& name : tornevo) {
        if (floor.contains(name))
            continue;
        const auto allowed = Allowed.find(name);
        failures += allowed == Allowed.end();
        std::printf("%s: Tornevo.exe loads %ls at start, which the floor does not%s%s\n",
                    allowed == Allowed.end() ? "FAIL" : "allowed", name.c_str(), allowed == Allowed.end() ? "" : ": ",
                    allowed == Allowed.end() ? "" : allowed->second);
    }
    return failures ? 1 : 0;
}

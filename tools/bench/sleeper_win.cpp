// One more process for the Toolhelp benchmark: it only waits, and ends with the
// benchmark whose id it is given, so none outlives a run that crashed.
//   quorlin-bench-sleeper PARENT_ID
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    const DWORD parentId = std::strtoul(argv[1], nullptr, 10);
    HANDLE parent = OpenProcess(SYNCHRONIZE, FALSE, parentId);
    if (parent == nullptr)
        return 1;
    WaitForSingleObject(parent, INFINITE);
    CloseHandle(parent);
    return 0;
}

#pragma once
// The per-user folder the desktop entry starts the program in: $XDG_CONFIG_HOME/quorlin
// (by default ~/.config/quorlin), seeded once from the installed defaults. A plain
// start never comes here and keeps working in its current directory.

#include <string>
#include <vector>

namespace quorlin {

struct UserFolderPlaces {
    std::string configHome;  // $XDG_CONFIG_HOME; used only when absolute
    std::string home;        // $HOME; used only when absolute
    std::string defaults;    // folder holding the installed copies of `seedFiles`
    std::vector<std::string> seedFiles;
};

// The folder for these places; empty when neither configHome nor home is absolute.
std::string userFolderPath(const UserFolderPlaces& places);

// Creates the folder (and its missing parents, mode 0700), copies each seed file
// that is missing there from `defaults`, then makes the folder the current
// directory. A name already present there (a file, a folder, even a dangling link)
// is never replaced. Returns the problems met, one sentence each, empty when none.
// When the folder cannot be made or entered the current directory stays as it was;
// a seed file that cannot be copied is only reported.
std::vector<std::string> enterUserFolder(const UserFolderPlaces& places);

// The folder of the running executable (/proc/self/exe); empty when unreadable.
std::string executableFolder();

}  // namespace quorlin

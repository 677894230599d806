#pragma once
// The per-user folder the Start-menu shortcut starts the program in:
// %APPDATA%\Quorlin, seeded once from the defaults beside the program. A plain
// start never comes here and keeps working in its current folder.

#include <string>
#include <vector>

namespace quorlin {

// All names in UTF-8.
struct AppDataPlaces {
    std::string roamingAppData;  // the user's roaming application data folder; used only when absolute
    std::string defaults;        // folder holding the shipped copies of `seedFiles`
    std::vector<std::string> seedFiles;
};

// roamingAppData\Quorlin; empty when roamingAppData is not an absolute path.
std::string userFolderPath(const AppDataPlaces& places);

// Creates the folder (and missing parents), copies each seed file that is missing
// there from `defaults`, then makes the folder the current folder. A name already
// present there (a file or a folder) is never replaced. Returns the problems met,
// one sentence each, empty when none. When the folder cannot be made or entered
// the current folder stays as it was; a seed file that cannot be copied is only
// reported.
std::vector<std::string> enterUserFolder(const AppDataPlaces& places);

// The user's roaming application data folder (FOLDERID_RoamingAppData, else the
// APPDATA variable); empty when neither gives one.
std::string roamingAppDataFolder();

// The folder of the running program (GetModuleFileNameW); empty when unknown.
std::string executableFolder();

// This user's roaming folder, with `seedFiles` taken from beside the program.
AppDataPlaces systemAppDataPlaces(std::vector<std::string> seedFiles);

}  // namespace quorlin

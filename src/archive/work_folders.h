// The work folder beside the program that receives the extracted texts, and
// the folder in the system's temporary folder that holds a CAB cut out of a
// self-extracting program.
//
// Instances allowed to run side by side ("PrevInstance" 1) each get their own
// sub-folder of both, so that no instance empties another one's files; a
// single instance uses the folders themselves.
#pragma once

#include <string>

namespace quibex {

// Builds WorkFolder (ending in "\") and CabWorkFolder in AppState, empties the
// work folder (creating it hidden when missing) and removes the CAB folder.
// Falls back to a folder under the temporary folder when the program folder
// is read-only. Failing steps are skipped.
void PrepareWorkFolders(bool sideBySide);
// Deletes every file in WorkFolder, whatever its attributes; sub-folders
// stay. Nothing happens unless WorkFolder is named as a work folder.
void DeleteWorkFiles();
// Deletes the files in CabWorkFolder and removes the folder; errors ignored.
// Nothing happens unless CabWorkFolder is named as the cabinet work folder.
void RemoveCabWorkFolder();

}  // namespace quibex

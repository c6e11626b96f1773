// Where the program finds its files: the program folder with its read-only files (template
// database, hand pointer, window icon, skin) and the data folder under the per-machine application
// data (working database).
#pragma once

#include <QString>

namespace app::paths {

// The folder of the program's read-only files, without a trailing separator: the installed data
// folder (<executable folder>/../share/rostelle) when there is one, else the executable's own
// folder, where the build puts them. The program never writes into it.
QString programFolder();
// Points the program folder elsewhere (tests run from their own folder); empty restores it.
void setProgramFolder(const QString& folder);
// The program folder of an executable that lies in the given folder.
QString programFolderOf(const QString& executableFolder);

// Takes a relative XDG_DATA_HOME or XDG_CONFIG_HOME out of the environment, so that the data
// root and the settings file fall back to ~/.local/share and ~/.config: a relative base
// folder is not a valid one, and would otherwise move with the current folder. Called first
// thing in main(), before anything asks where a file is.
void ignoreRelativeBaseFolders();

QString dataRoot();        // SpecialFolderPath(35)
QString makerFolder();     // <data root>/Tarrowby
QString dataFolder();      // <data root>/Tarrowby/Rostelle Software
QString workingDatabase(); // <data folder>/dbData.sqlite
QString templateDatabase();// <program folder>/dbBlank.sqlite
QString handPointerFile(); // <program folder>/HAND-M.CUR
QString skinFile();        // <program folder>/x/o.cjs
QString iconFile();        // <program folder>/rostelle.png

// The folder for working files: TMPDIR when it names a folder this program can write to, else
// /tmp; throws a Failure saying so when neither is one.
QString temporaryFolder();

}  // namespace app::paths

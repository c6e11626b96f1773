// Whether the spreadsheet engine can be started: its application object is created and released
// at once. Without it the program cannot build a schedule, says so and ends.
#pragma once

#include <functional>

namespace app {

// True when the engine's application object could be created; never throws.
bool spreadsheetAvailable();
// Replaces the check (tests play a machine without the engine); nullptr restores it.
void setSpreadsheetCheck(std::function<bool()> check);

// Shows the "Error 842001" message and ends the program when the engine is not available.
void IsInstalled();

}  // namespace app

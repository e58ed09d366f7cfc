// What FileMaker does with a record beyond committing it on Ctrl+Enter: a
// field whose validation refuses the value asks "Allow this value?" (Yes, No,
// Revert Record, its default button set by the script); in Find mode,
// Ctrl+Enter performs the find. And what Get ( RecordOpenState ) and
// Get ( WindowMode ) answer a plug-in that asks.
#pragma once

#include <windows.h>

#include <string>

#include "ScriptStep.h"

// Ctrl+Enter in a record field of window `name`, edited or not: true when the
// record commits. The question, when asked, is a modal box over the window;
// Revert Record clears the field and `edited`.
bool CommitGoesThrough(HWND field, const std::string& name, bool& edited);
// Get ( WindowMode ): 0 Browse, 1 Find.
int WindowMode();

//   validate yes|revert|off   the record field's validation refuses what is
//                             typed and asks, Yes or Revert Record the default
//   mode find|browse          the windows' mode
//   endquestion               answer the question No (back to the field)
StepResult RunRecordStep(const std::string& command, const std::string& rest);

// The stand-in's script: one step per line, run from a timer so that it goes on
// inside modal loops (menus, the lock screen, message boxes).
//
//   say TEXT               print a narration line
//   modern STEP            run STEP only when the host plays FileMaker 7 or later
//   init                   the host's init call
//   shutdown               the host's shutdown call
//   unload / load          free the plug-in's library (from the host's own message
//                          loop, as FileMaker does) / load it again
//   call NAME [PARAM]      call a function by name; \xHH in PARAM is a byte, and
//                          {reply} the text of the last reply
//   callnum N [PARAM]      call a function by number
//   command LINE           (--interactive) write LINE into the command field and press Call
//   failresize on|off      make the host's handle resizes fail
//   idleevery MS           send idle calls every MS milliseconds (50 at the start)
//   wait MS                let MS milliseconds pass
//   busy MS [TEXT]         block the host's thread for MS milliseconds, handling
//                          no message: a sleeping machine, a busy FileMaker; TEXT
//                          typed just before waits in its queue meanwhile
//   othermoves MS [AT P]   start another process that moves the mouse every 200 ms
//                          for MS milliseconds (but for P ms from AT on): a person
//                          at the desk; returns at once
//   othertypes TEXT        start another process that types TEXT, a key every 50 ms,
//                          into whatever window is in front; returns at once
//   session CHANGE         Windows' session notification to the host's top-level
//                          windows, posted: lock, unlock, disconnect or connect (the
//                          console's), remote-disconnect or remote-connect (a
//                          terminal server's user)
//   waitfor MS TEXT        wait until an event line contains TEXT (at most MS)
//   waitseen MS TEXT       the same, counting every line since the run began
//   wheel                  turn the mouse wheel one notch (the cursor stays)
//   otherhang MS           the other application stops answering for MS ms
//   validate yes|revert|off  the record field's validation refuses what is typed
//                          and asks "Allow this value?", Yes or Revert Record the
//                          default button (stops at the question; see RecordRules.h)
//   mode find|browse       the windows' mode: in Find, Ctrl+Enter performs the find
//   endquestion            answer the question No (back to the field)
//   box TITLE              print whether a box of the host's titled TITLE is up, and shown
//   move X Y               put the mouse cursor at X, Y
//   type TEXT              type TEXT into the window with the focus
//   key NAME               press ENTER, ESCAPE, TAB or CTRL+ENTER
//   choose NAME            choose NAME in the login's list of who unlocks (a
//                          shared desk), printing the list and the entry shown
//   namelist [open]        (a shared desk) open the login's list of who unlocks,
//                          or print whether its drop-down is up and focused
//   posttimer N            post N WM_TIMER messages of the login's wait timer to it
//   postquit CODE          post WM_QUIT to the host's thread (as another program may,
//                          or the host itself when it quits);
//                          the host then reports its windows, and shuts the plug-in
//                          down as FileMaker does when it quits
//   memscan TEXT           print how many copies of TEXT, in UTF-16, the host's
//                          memory holds
//   lockwindows            print the texts of the lock's windows that are up, and
//                          whether each fits its control and its window
//   focus record|NAME      activate the main window (or window NAME), focus in its
//                          record field
//   window NAME            open a document window NAME (its own top-level window,
//                          as today's FileMaker has them) and focus its record
//   card NAME              open a card window NAME over the main window
//   shownoactivate NAME    show window NAME without activating it
//   closewindow NAME       close window NAME
//   windows                print the visible record windows, top first
//   activate main|other    bring the main window or another application (a
//                          second process) forward
//   hostbox / endhostbox   open the host's own modal OK/Cancel box / cancel it
//   destroymain            destroy the main window (the host lives on)
//   minimize               minimise the main window
//   menu / endmenu         open or close a popup menu of the main window
//   shot NAME              save a screenshot as NAME.png in the shots folder
//   timeline NAME          draw the run so far as NAME.svg in the shots folder
//   functions              list the plug-in's functions as events and in a window
//   endfunctions           close that window
//   installedplugins       print the plug-in's line in Get ( InstalledFMPlugins ):
//                          its name, the file version of its version resource,
//                          Enabled or Disabled (FileMaker 12 and later)
//   quit                   end the run
#pragma once

#include <string>
#include <vector>

bool LoadScript(const std::string& path, std::vector<std::string>& lines);
const std::vector<std::string>& DemoScript();
// The login alone, as the demo shows it in the user's language.
const std::vector<std::string>& LoginDemoScript();
// Starts running lines; the run ends the message loop when done.
void StartScript(const std::vector<std::string>& lines, const std::string& shotsFolder);
// A line typed into the interactive window: a function call ("Lulx-Version 1")
// runs at once, any other line as a step of the script.
void RunInteractiveLine(const std::string& line);
// The host's own loop calls this after each message: an unload the script
// asked for happens here.
void RunRequestedUnload();
// 0 when every waitfor was met.
int ScriptResult();
// Whether a postquit step ran.
bool QuitWasPosted();
// A WM_TIMER the host's loop took from its queue for one of the plug-in's
// windows: each a wake-up of FileMaker's thread. The count is printed at the end.
void CountPluginTimerMessage();

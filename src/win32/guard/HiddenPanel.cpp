#include "win32/guard/HiddenPanel.h"

#include "portable/engine/ParameterRules.h"
#include "portable/text/NumberText.h"
#include "resources/ResourceIds.h"
#include "win32/watch/Timers.h"
#include "win32/watch/WatchedCounts.h"

namespace {

int32_t FieldLimit(HWND dialog, int id) {
  char text[1024] = "";
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return ClampInt(ParseDecimal(text), INT32_MIN, MAX_LIMIT_SECONDS);
}

}  // namespace

void EnablePanelControl(HWND dialog, int id, bool enable) {
  HWND control = GetDlgItem(dialog, id);
  if ((IsWindowEnabled(control) != FALSE) != enable) EnableWindow(control, enable);  // the record tick asks every time
}

void PanelCommand(WorkstationGuard& guard, HWND dialog, int id) {
  Settings& s = guard.state.settings;
  switch (id) {
    case IDC_DONE:
      ShowWindow(dialog, SW_HIDE);
      break;
    case IDC_RECORD_STOP:
      s.recordLimitSeconds = 0;
      EnablePanelControl(dialog, IDC_RECORD_STOP, false);
      break;
    case IDC_RECORD_SET:
      s.recordLimitSeconds = FieldLimit(dialog, IDC_RECORD_FIELD);
      if (s.recordLimitSeconds > 0) {
        EnablePanelControl(dialog, IDC_RECORD_STOP, true);
        StartTimer(dialog, RECORD_TIMER, STEADY_LOOK_MS);
        // The timer may not have run until now: its count starts from here.
        StartLimitCount(guard, WatchedCount::Record);
      }
      break;
    case IDC_RECORD_TOGGLE:
      s.commitOnLeaving = !s.commitOnLeaving;
      break;
    case IDC_FILEMAKER_SET:
      s.fileMakerLimitSeconds = FieldLimit(dialog, IDC_FILEMAKER_FIELD);
      if (s.fileMakerLimitSeconds > 0) {
        EnablePanelControl(dialog, IDC_FILEMAKER_STOP, true);
        StartTimer(dialog, FILEMAKER_TIMER, STEADY_LOOK_MS);
        StartLimitCount(guard, WatchedCount::FileMaker);
      } else {
        PlanCountTick(guard, WatchedCount::FileMaker);  // none is due: the timer stops
        StopTimer(dialog, KEYSCAN_TIMER);
      }
      break;
    case IDC_FILEMAKER_STOP:
      EnablePanelControl(dialog, IDC_FILEMAKER_STOP, false);
      s.fileMakerLimitSeconds = 0;  // the next FileMaker tick stops the timers
      break;
    case IDC_FILEMAKER_TOGGLE:
      s.countInBackground = !s.countInBackground;
      break;
    case IDC_SCRIPT_STOP:
      EnablePanelControl(dialog, IDC_SCRIPT_STOP, false);
      guard.panelScriptTimer.seconds = 0;
      break;
    case IDC_SCRIPT_TOGGLE:
      guard.panelScriptTimer.countsInBackground = !guard.panelScriptTimer.countsInBackground;
      break;
    default:
      break;
  }
}

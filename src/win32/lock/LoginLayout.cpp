#include "win32/lock/LoginLayout.h"

#include <algorithm>

#include "resources/ResourceIds.h"
#include "win32/lock/ShownText.h"

namespace {

// The template's measures, in dialog units.
const int MARGIN = 5;
const int PROMPT_TOP = 3;
const int PROMPT_LEAST_HEIGHT = 25;  // the room it has without a line below it
const int ROW_GAP = 2;               // between the texts above and the first row
const int LABEL_GAP = 4;             // between a label and its field
const int LABEL_DROP = 3;            // a label's text sits this much below its field's top
const int LABEL_HEIGHT = 8;
const int FIELD_LEFT = 76;  // the least room the labels get
const int FIELD_WIDTH = 150;
const int FIELD_HEIGHT = 13;
const int FIELD_RIGHT_ROOM = 39;
const int LIST_DROP_HEIGHT = 100;
const int NAME_ROW_HEIGHT = 17;  // the shared desk's list and its label
const int OK_DROP = 7;           // OK's top below the password field
const int OK_LEAST_WIDTH = 60;
const int OK_HEIGHT = 14;
const int OK_PADDING = 8;  // room beside OK's word, both sides together
const int BOTTOM_ROOM = 1;
const int LEAST_WIDTH = 265;

struct Units {
  HWND login;
  int x(int dlu) const { return Map(dlu, 0).right; }
  int y(int dlu) const { return Map(0, dlu).bottom; }
  RECT Map(int horizontal, int vertical) const {
    RECT r = {0, 0, horizontal, vertical};
    MapDialogRect(login, &r);
    return r;
  }
};

void Place(HWND login, int id, int x, int y, int width, int height) {
  HWND control = GetDlgItem(login, id);
  if (control) SetWindowPos(control, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The wrapped height of a static control's text, with longestCountdown standing
// in for it where that takes more.
int PromptHeight(HWND prompt, int width, const char* longestCountdown) {
  return std::max<int>(ShownTextSize(prompt, width, DT_EDITCONTROL).cy,
                       TextSizeIn(prompt, longestCountdown, width, DT_EDITCONTROL).cy);
}

}  // namespace

void FitLoginToTexts(HWND login, const char* longestCountdown, int screenHeight) {
  Units u = {login};
  HWND nameLabel = GetDlgItem(login, IDC_LOGIN_NAME_LABEL);
  HWND message = GetDlgItem(login, IDC_LOGIN_MESSAGE);
  RECT frame, client;
  GetWindowRect(login, &frame);
  GetClientRect(login, &client);
  int frameWidth = (frame.right - frame.left) - client.right, frameHeight = (frame.bottom - frame.top) - client.bottom;

  int labelWidth = ShownTextSize(GetDlgItem(login, IDC_LOGIN_LABEL), 0).cx;
  if (nameLabel) labelWidth = std::max<int>(labelWidth, ShownTextSize(nameLabel, 0).cx);
  int fieldLeft = std::max<int>(u.x(FIELD_LEFT), u.x(MARGIN + LABEL_GAP) + labelWidth);
  int labelBoxWidth = fieldLeft - u.x(MARGIN + LABEL_GAP);
  int labelHeight = std::max<int>(u.y(LABEL_HEIGHT), ShownTextSize(GetDlgItem(login, IDC_LOGIN_LABEL), 0).cy);
  int okWidth =
      std::max<int>(u.x(OK_LEAST_WIDTH), ShownTextSize(GetDlgItem(login, IDC_LOGIN_OK), 0).cx + u.x(OK_PADDING));
  int width = std::max<int>(u.x(LEAST_WIDTH), fieldLeft + u.x(FIELD_WIDTH + FIELD_RIGHT_ROOM));
  width = std::max<int>(width, okWidth + u.x(2 * MARGIN));
  int textWidth = width - u.x(2 * MARGIN);

  // Without a line of the solution's, the fields stay where the template has them.
  int promptHeight = PromptHeight(GetDlgItem(login, IDC_LOGIN_PROMPT), textWidth, longestCountdown);
  if (!message) promptHeight = std::max<int>(u.y(PROMPT_LEAST_HEIGHT), promptHeight);
  int rows = u.y(ROW_GAP + FIELD_HEIGHT + OK_DROP + OK_HEIGHT + BOTTOM_ROOM) + (nameLabel ? u.y(NAME_ROW_HEIGHT) : 0);
  int messageHeight = 0;
  if (message) {
    messageHeight = ShownTextSize(message, textWidth, DT_NOPREFIX | DT_EDITCONTROL).cy;
    // A line taller than the screen leaves room for shows what fits: its
    // last line that does not fit whole is not drawn.
    int room = screenHeight - frameHeight - u.y(PROMPT_TOP + ROW_GAP) - promptHeight - rows;
    int oneLine = ShownTextSize(message, 0, DT_NOPREFIX).cy;
    if (messageHeight > room) messageHeight = std::max<int>(oneLine, room);
  }

  Place(login, IDC_LOGIN_PROMPT, u.x(MARGIN), u.y(PROMPT_TOP), textWidth, promptHeight);
  int top = u.y(PROMPT_TOP) + promptHeight;
  if (message) {
    Place(login, IDC_LOGIN_MESSAGE, u.x(MARGIN), top + u.y(ROW_GAP), textWidth, messageHeight);
    top += u.y(ROW_GAP) + messageHeight;
  }
  top += u.y(ROW_GAP);
  if (nameLabel) {
    Place(login, IDC_LOGIN_NAME, fieldLeft, top, u.x(FIELD_WIDTH), u.y(LIST_DROP_HEIGHT));
    Place(login, IDC_LOGIN_NAME_LABEL, u.x(MARGIN), top + u.y(LABEL_DROP), labelBoxWidth, labelHeight);
    top += u.y(NAME_ROW_HEIGHT);
  }
  Place(login, IDC_PASSWORD, fieldLeft, top, u.x(FIELD_WIDTH), u.y(FIELD_HEIGHT));
  Place(login, IDC_LOGIN_LABEL, u.x(MARGIN), top + u.y(LABEL_DROP), labelBoxWidth, labelHeight);
  top += u.y(FIELD_HEIGHT + OK_DROP);
  Place(login, IDC_LOGIN_OK, width - u.x(MARGIN) - okWidth, top, okWidth, u.y(OK_HEIGHT));
  int height = top + u.y(OK_HEIGHT + BOTTOM_ROOM);
  SetWindowPos(login, nullptr, 0, 0, width + frameWidth, height + frameHeight,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

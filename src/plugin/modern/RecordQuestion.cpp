#include "plugin/modern/RecordQuestion.h"

namespace {

const char OPEN_STATE[] = "Get ( RecordOpenState )";
const char WINDOW_MODE[] = "Get ( WindowMode )";
const uint32_t LONGEST_EXPRESSION = 32;
const uint32_t LONGEST_ANSWER = 8;

// A whole number of up to eight digits, -1 for anything else.
int32_t ReadNumber(const FMTextReading& reading, const void* text) {
  FMError error = NoFMError();
  uint32_t size = reading.textSize(text, &error);
  if (error.code != 0 || size == 0 || size > LONGEST_ANSWER) return -1;
  uint16_t units[LONGEST_ANSWER];
  reading.textUnits(text, units, 0, size, &error);
  if (error.code != 0) return -1;
  int32_t value = 0;
  for (uint32_t i = 0; i < size; ++i) {
    if (units[i] < '0' || units[i] > '9') return -1;
    value = value * 10 + (units[i] - '0');
  }
  return value;
}

// The number the expression gives in environment, -1 on any error.
int32_t Evaluate(const FMWrapperFunctions& fm, const void* environment, const char* expression) {
  uint16_t units[LONGEST_EXPRESSION];
  uint32_t count = 0;
  for (; expression[count] && count < LONGEST_EXPRESSION; ++count)
    units[count] = static_cast<uint8_t>(expression[count]);
  FMError error = NoFMError();
  void* text = fm.newText(&error);
  void* data = text && error.code == 0 ? fm.newData(&error) : nullptr;
  int32_t value = -1;
  if (data && error.code == 0) fm.assignText(text, units, count, &error);
  if (data && error.code == 0 && fm.evaluation.evaluate(environment, text, data, &error) == 0 && error.code == 0) {
    const void* answer = fm.evaluation.dataText(data, &error);
    if (answer && error.code == 0) value = ReadNumber(fm.reading, answer);
  }
  FMError deleting = NoFMError();
  if (data) fm.deleteData(data, &deleting);
  if (text) fm.deleteText(text, &deleting);
  return value;
}

}  // namespace

bool CanAskRecordState(const FMWrapperFunctions& fm, FMCurrentEnvironment setCurrent) {
  return setCurrent && fm.evaluation.newEnvironment && fm.evaluation.evaluate;
}

RecordAnswer AskRecordState(const FMWrapperFunctions& fm, FMCurrentEnvironment setCurrent) {
  RecordAnswer answer = {};
  if (!CanAskRecordState(fm, setCurrent)) return answer;
  FMError error = NoFMError();
  void* environment = fm.evaluation.newEnvironment(&error);
  if (environment && error.code == 0 && setCurrent(environment) == 0) {
    answer.openState = Evaluate(fm, environment, OPEN_STATE);
    answer.windowMode = Evaluate(fm, environment, WINDOW_MODE);
    answer.known = answer.openState >= 0 && answer.windowMode >= 0;
  }
  // Made, it is ours to free, whatever error came with it.
  FMError deleting = NoFMError();
  if (environment) fm.evaluation.deleteEnvironment(environment, &deleting);
  return answer;
}

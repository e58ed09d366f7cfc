// The stand-in's FMWrapper.dll: the entry points of today's FileMaker that a
// plug-in calls, written from FileMaker's published plug-in interface. Text is
// UTF-16; every call takes an error record last and sets its code (0, or 1 when
// out of memory).
#define FMWRAPPER_BUILDING
#include <cstring>
#include <string>
#include <vector>

#include "StandInRegistry.h"

namespace {

struct FMError {
  int32_t version;
  int32_t code;
};
struct Text {
  std::wstring units;
};
struct Locale {
  int32_t type;
};
struct Data {
  Text text;
  Locale locale{1};
  int32_t nativeType = 0;
  bool set = false;
};
struct DataVect {
  std::vector<Data> items;
};
struct QuadChar {
  char c[4];
};
// Set to FileMaker's current environment by the call block's callback: only
// such an environment can evaluate outside a function call.
struct ExprEnv {
  bool current = false;
};

struct Registration {
  RegisteredFunction shown;
  std::wstring name, prototype, description;
  bool hasDescription;
};
std::vector<Registration> g_registry;
bool g_allocationFails;
StandInEvaluator g_evaluator;

const int32_t NO_ERROR_CODE = 0;
const int32_t OUT_OF_MEMORY = 1;
const int16_t CALC_ERROR = 960;  // what the stand-in answers a bad registration with

template <typename T>
T* Make(FMError* error) {
  if (g_allocationFails) {
    error->code = OUT_OF_MEMORY;
    return nullptr;
  }
  error->code = NO_ERROR_CODE;
  return new T();
}

template <typename T>
void Delete(void* object, FMError* error) {
  delete static_cast<T*>(object);
  error->code = NO_ERROR_CODE;
}

bool SameId(const QuadChar* a, const RegisteredFunction& b) { return std::memcmp(a->c, b.pluginId, 4) == 0; }

int16_t Register(const void* pluginId, int16_t id, const void* name, const void* prototype, const void* description,
                 int16_t minimum, int16_t maximum, uint32_t compatibility, StandInFunction function, FMError* error) {
  error->code = NO_ERROR_CODE;
  const QuadChar* quad = static_cast<const QuadChar*>(pluginId);
  if (!quad || !name || !prototype || !function || minimum < 0 || (maximum >= 0 && maximum < minimum))
    return CALC_ERROR;
  for (const Registration& r : g_registry)
    if (SameId(quad, r.shown) && r.shown.id == id) return CALC_ERROR;  // registered twice
  Registration r = {};
  r.name = static_cast<const Text*>(name)->units;
  r.prototype = static_cast<const Text*>(prototype)->units;
  r.hasDescription = description != nullptr;
  if (description) r.description = static_cast<const Text*>(description)->units;
  std::memcpy(r.shown.pluginId, quad->c, 4);
  r.shown.id = id;
  r.shown.minimumArguments = minimum;
  r.shown.maximumArguments = maximum;
  r.shown.compatibility = compatibility;
  r.shown.function = function;
  g_registry.push_back(r);
  return 0;
}

}  // namespace

#define FM_EXPORT extern "C" __declspec(dllexport)

FM_EXPORT void* FM_Text_Constructor1(FMError* error) { return Make<Text>(error); }
FM_EXPORT void FM_Text_Delete(void* self, FMError* error) { Delete<Text>(self, error); }
FM_EXPORT void FM_Text_AssignUnicodeWithLength(void* self, const uint16_t* units, uint32_t length, FMError* error) {
  static_cast<Text*>(self)->units.assign(reinterpret_cast<const wchar_t*>(units), length);
  error->code = NO_ERROR_CODE;
}
FM_EXPORT void FM_Text_AssignUnicode(void* self, const uint16_t* units, FMError* error) {
  static_cast<Text*>(self)->units = reinterpret_cast<const wchar_t*>(units);
  error->code = NO_ERROR_CODE;
}
FM_EXPORT uint32_t FM_Text_GetSize(const void* self, FMError* error) {
  error->code = NO_ERROR_CODE;
  return static_cast<uint32_t>(static_cast<const Text*>(self)->units.size());
}
#ifndef FMWRAPPER_WITHOUT_GETUNICODE
// Copies count units from position; writes no terminator.
FM_EXPORT void FM_Text_GetUnicode(const void* self, uint16_t* dest, uint32_t position, uint32_t count, FMError* error) {
  const std::wstring& units = static_cast<const Text*>(self)->units;
  error->code = NO_ERROR_CODE;
  for (uint32_t i = 0; i < count && position + i < units.size(); ++i) dest[i] = units[position + i];
}
#endif

FM_EXPORT void* FM_Locale_Constructor1(int32_t type, FMError* error) {
  Locale* locale = Make<Locale>(error);
  if (locale) locale->type = type;
  return locale;
}
FM_EXPORT void FM_Locale_Delete(void* self, FMError* error) { Delete<Locale>(self, error); }

FM_EXPORT void* FM_Data_Constructor1(FMError* error) { return Make<Data>(error); }
FM_EXPORT void FM_Data_Delete(void* self, FMError* error) { Delete<Data>(self, error); }
FM_EXPORT const void* FM_Data_GetAsText(const void* self, FMError* error) {
  error->code = NO_ERROR_CODE;
  return &static_cast<const Data*>(self)->text;
}
FM_EXPORT const void* FM_Data_GetLocale(const void* self, FMError* error) {
  error->code = NO_ERROR_CODE;
  return &static_cast<const Data*>(self)->locale;
}
FM_EXPORT int16_t FM_Data_SetAsText(void* self, const void* text, const void* locale, int32_t nativeType,
                                    FMError* error) {
  error->code = NO_ERROR_CODE;
  Data* data = static_cast<Data*>(self);
  data->text = *static_cast<const Text*>(text);
  data->locale = *static_cast<const Locale*>(locale);
  data->nativeType = nativeType;
  data->set = true;
  return 0;
}

FM_EXPORT void* FM_DataVect_Constructor1(FMError* error) { return Make<DataVect>(error); }
FM_EXPORT void FM_DataVect_Delete(void* self, FMError* error) { Delete<DataVect>(self, error); }
FM_EXPORT uint32_t FM_DataVect_Size(const void* self, FMError* error) {
  error->code = NO_ERROR_CODE;
  return static_cast<uint32_t>(static_cast<const DataVect*>(self)->items.size());
}
FM_EXPORT void FM_DataVect_PushBack(void* self, const void* data, FMError* error) {
  error->code = NO_ERROR_CODE;
  static_cast<DataVect*>(self)->items.push_back(*static_cast<const Data*>(data));
}
FM_EXPORT const void* FM_DataVect_At(const void* self, uint32_t index, FMError* error) {
  const DataVect* vector = static_cast<const DataVect*>(self);
  error->code = index < vector->items.size() ? NO_ERROR_CODE : 2;
  return index < vector->items.size() ? &vector->items[index] : nullptr;
}
FM_EXPORT const void* FM_DataVect_AtAsText(const void* self, uint32_t index, FMError* error) {
  const Data* data = static_cast<const Data*>(FM_DataVect_At(self, index, error));
  return data ? &data->text : nullptr;
}

FM_EXPORT void* FM_QuadChar_Constructor2(char c0, char c1, char c2, char c3, FMError* error) {
  QuadChar* quad = Make<QuadChar>(error);
  if (quad) *quad = {{c0, c1, c2, c3}};
  return quad;
}
FM_EXPORT void FM_QuadChar_Delete(void* self, FMError* error) { Delete<QuadChar>(self, error); }

FM_EXPORT void* FM_ExprEnv_Constructor1(FMError* error) { return Make<ExprEnv>(error); }
FM_EXPORT void FM_ExprEnv_Delete(void* self, FMError* error) { Delete<ExprEnv>(self, error); }

// What the host answers; a calculation error (FileMaker's 1200) otherwise.
FM_EXPORT int16_t FM_ExprEnv_Evaluate(const void* self, const void* expression, void* result, FMError* error) {
  error->code = NO_ERROR_CODE;
  const int16_t CALCULATION_ERROR = 1200;
  if (!static_cast<const ExprEnv*>(self)->current || !g_evaluator) return CALCULATION_ERROR;
  std::wstring answer;
  if (!g_evaluator(static_cast<const Text*>(expression)->units.c_str(), &answer)) return CALCULATION_ERROR;
  Data* data = static_cast<Data*>(result);
  data->text.units = answer;
  data->set = true;
  return 0;
}

FM_EXPORT int16_t FM_ExprEnv_RegisterExternalFunctionEx(const void* pluginId, int16_t id, const void* name,
                                                        const void* prototype, const void* description, int16_t minimum,
                                                        int16_t maximum, uint32_t compatibility,
                                                        StandInFunction function, FMError* error) {
  return Register(pluginId, id, name, prototype, description ? description : nullptr, minimum, maximum, compatibility,
                  function, error);
}
FM_EXPORT int16_t FM_ExprEnv_RegisterExternalFunction(const void* pluginId, int16_t id, const void* name,
                                                      const void* prototype, int16_t minimum, int16_t maximum,
                                                      uint32_t compatibility, StandInFunction function,
                                                      FMError* error) {
  return Register(pluginId, id, name, prototype, nullptr, minimum, maximum, compatibility, function, error);
}
FM_EXPORT int16_t FM_ExprEnv_UnRegisterExternalFunction(const void* pluginId, int16_t id, FMError* error) {
  error->code = NO_ERROR_CODE;
  const QuadChar* quad = static_cast<const QuadChar*>(pluginId);
  for (size_t i = 0; quad && i < g_registry.size(); ++i) {
    if (!SameId(quad, g_registry[i].shown) || g_registry[i].shown.id != id) continue;
    g_registry.erase(g_registry.begin() + static_cast<std::ptrdiff_t>(i));
    return 0;
  }
  return CALC_ERROR;
}

STANDIN_API bool StandIn_Registered(int index, RegisteredFunction* out) {
  if (index < 0 || static_cast<size_t>(index) >= g_registry.size()) return false;
  Registration& r = g_registry[static_cast<size_t>(index)];
  *out = r.shown;
  out->pluginId[4] = '\0';
  out->name = r.name.c_str();
  out->prototype = r.prototype.c_str();
  out->description = r.hasDescription ? r.description.c_str() : nullptr;
  return true;
}
STANDIN_API const wchar_t* StandIn_TextUnits(const void* text) { return static_cast<const Text*>(text)->units.c_str(); }
STANDIN_API int StandIn_RegisteredCount() { return static_cast<int>(g_registry.size()); }
STANDIN_API bool StandIn_DataWasSet(const void* data) { return static_cast<const Data*>(data)->set; }
STANDIN_API void StandIn_SetAllocationFails(bool fail) { g_allocationFails = fail; }
STANDIN_API void StandIn_SetEvaluator(StandInEvaluator evaluator) { g_evaluator = evaluator; }
STANDIN_API int16_t StandIn_SetToCurrentEnvironment(void* environment) {
  static_cast<ExprEnv*>(environment)->current = true;
  return 0;
}

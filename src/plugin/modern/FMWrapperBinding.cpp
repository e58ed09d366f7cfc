#include "plugin/modern/FMWrapperBinding.h"

#include <windows.h>

namespace {

template <typename Function>
bool Bind(HMODULE library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
  return function != nullptr;
}

}  // namespace

bool BindFMWrapper(FMWrapperFunctions& fm, bool registerWithDescription) {
  HMODULE library = GetModuleHandleA("FMWrapper.dll");
  if (!library) return false;
  bool all = Bind(library, "FM_DataVect_Size", fm.reading.vectorSize) &&
             Bind(library, "FM_DataVect_AtAsText", fm.reading.vectorTextAt) &&
             Bind(library, "FM_Text_GetSize", fm.reading.textSize) &&
             Bind(library, "FM_Text_GetUnicode", fm.reading.textUnits) &&
             Bind(library, "FM_Text_Constructor1", fm.newText) && Bind(library, "FM_Text_Delete", fm.deleteText) &&
             Bind(library, "FM_Text_AssignUnicodeWithLength", fm.assignText) &&
             Bind(library, "FM_Locale_Constructor1", fm.newLocale) &&
             Bind(library, "FM_Locale_Delete", fm.deleteLocale) && Bind(library, "FM_Data_SetAsText", fm.setDataText) &&
             Bind(library, "FM_Data_Constructor1", fm.newData) && Bind(library, "FM_Data_Delete", fm.deleteData) &&
             Bind(library, "FM_QuadChar_Constructor2", fm.newQuadChar) &&
             Bind(library, "FM_QuadChar_Delete", fm.deleteQuadChar) &&
             Bind(library, "FM_ExprEnv_UnRegisterExternalFunction", fm.unregisterFunction);
  if (!all) return false;
  FMEvaluation& e = fm.evaluation;
  if (!(Bind(library, "FM_ExprEnv_Constructor1", e.newEnvironment) &&
        Bind(library, "FM_ExprEnv_Delete", e.deleteEnvironment) && Bind(library, "FM_ExprEnv_Evaluate", e.evaluate) &&
        Bind(library, "FM_Data_GetAsText", e.dataText)))
    e = FMEvaluation();
  fm.registerFunctionEx = nullptr;
  fm.registerFunction = nullptr;
  return registerWithDescription ? Bind(library, "FM_ExprEnv_RegisterExternalFunctionEx", fm.registerFunctionEx)
                                 : Bind(library, "FM_ExprEnv_RegisterExternalFunction", fm.registerFunction);
}

#include "StandInCall.h"

#include "portable/modern/FMWrapperApi.h"

extern "C" {
__declspec(dllimport) void* FM_Text_Constructor1(FMError* error);
__declspec(dllimport) void FM_Text_Delete(void* self, FMError* error);
__declspec(dllimport) void FM_Text_AssignUnicodeWithLength(void* self, const uint16_t* units, uint32_t length,
                                                           FMError* error);
__declspec(dllimport) uint32_t FM_Text_GetSize(const void* self, FMError* error);
__declspec(dllimport) void* FM_Data_Constructor1(FMError* error);
__declspec(dllimport) void FM_Data_Delete(void* self, FMError* error);
__declspec(dllimport) const void* FM_Data_GetAsText(const void* self, FMError* error);
__declspec(dllimport) int16_t
    FM_Data_SetAsText(void* self, const void* text, const void* locale, int32_t nativeType, FMError* error);
__declspec(dllimport) void* FM_Locale_Constructor1(int32_t type, FMError* error);
__declspec(dllimport) void FM_Locale_Delete(void* self, FMError* error);
__declspec(dllimport) void* FM_DataVect_Constructor1(FMError* error);
__declspec(dllimport) void FM_DataVect_Delete(void* self, FMError* error);
__declspec(dllimport) void FM_DataVect_PushBack(void* self, const void* data, FMError* error);
}

namespace {

#if defined(__i386__)
// 32-bit FileMaker calls a registered function as __stdcall: the function takes
// its four arguments off the stack itself. This call checks that it did:
// a function of the C convention would leave FileMaker's stack 16 bytes off.
extern "C" int16_t StandInCallStdcall(StandInFunction function, int32_t id, const void* environment,
                                      const void* arguments, void* result, uint32_t* bytesLeft);
asm(".text\n"
    ".globl _StandInCallStdcall\n"
    "_StandInCallStdcall:\n"
    "  pushl %ebp\n"
    "  movl %esp, %ebp\n"
    "  pushl %ebx\n"
    "  movl %esp, %ebx\n"
    "  pushl 24(%ebp)\n"  // result
    "  pushl 20(%ebp)\n"  // arguments
    "  pushl 16(%ebp)\n"  // environment
    "  pushl 12(%ebp)\n"  // id
    "  call *8(%ebp)\n"
    "  movl %ebx, %ecx\n"
    "  subl %esp, %ecx\n"
    "  movl 28(%ebp), %edx\n"
    "  movl %ecx, (%edx)\n"
    "  movl %ebx, %esp\n"
    "  popl %ebx\n"
    "  popl %ebp\n"
    "  ret\n");
#endif

int16_t CallAsFileMakerDoes(const RegisteredFunction& function, void* arguments, void* result) {
#if defined(__i386__)
  uint32_t bytesLeft = 0;
  int16_t status = StandInCallStdcall(function.function, function.id, nullptr, arguments, result, &bytesLeft);
  return bytesLeft == 0 ? status : STANDIN_WRONG_CONVENTION;
#else
  return function.function(function.id, nullptr, arguments, result);
#endif
}

}  // namespace

StandInReply CallRegistered(const RegisteredFunction& function, const std::vector<std::wstring>& given) {
  FMError error = NoFMError();
  void* arguments = FM_DataVect_Constructor1(&error);
  for (const std::wstring& argument : given) {
    void* text = FM_Text_Constructor1(&error);
    FM_Text_AssignUnicodeWithLength(text, reinterpret_cast<const uint16_t*>(argument.data()),
                                    static_cast<uint32_t>(argument.size()), &error);
    void* locale = FM_Locale_Constructor1(FM_LOCALE_SYSTEM, &error);
    void* data = FM_Data_Constructor1(&error);
    FM_Data_SetAsText(data, text, locale, FM_NATIVE_TEXT, &error);
    FM_DataVect_PushBack(arguments, data, &error);
    FM_Data_Delete(data, &error);
    FM_Locale_Delete(locale, &error);
    FM_Text_Delete(text, &error);
  }
  void* result = FM_Data_Constructor1(&error);
  StandInReply reply;
  reply.status = CallAsFileMakerDoes(function, arguments, result);
  reply.given = StandIn_DataWasSet(result);
  if (reply.given) {
    const void* text = FM_Data_GetAsText(result, &error);
    reply.text.assign(StandIn_TextUnits(text), FM_Text_GetSize(text, &error));
  }
  FM_Data_Delete(result, &error);
  FM_DataVect_Delete(arguments, &error);
  return reply;
}

std::wstring DataText(const void* data) {
  FMError error = NoFMError();
  const void* text = data ? FM_Data_GetAsText(data, &error) : nullptr;
  return text ? std::wstring(StandIn_TextUnits(text), FM_Text_GetSize(text, &error)) : L"(none)";
}
